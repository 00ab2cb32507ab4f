// Undoing the installer's mouse configuration: Windows falls back to its
// standard PS/2 mouse driver at the next start.
#pragma once

#include <string>

namespace kv {

class DesktopPort;
class RegistryPort;
class RegistryTreePort;

// Deletes every PS/2 mouse class entry (the touch driver's among them,
// and a staging copy a stopped installation left) and
// the BIOS-enumerated PS/2 devices; creates nothing. An entry that cannot
// be deleted shows "RegDeleteKey fail! <path>" and the scan goes on.
void RemoveMouseClass(RegistryPort& registry, RegistryTreePort& tree, DesktopPort& desktop,
                      const std::string& title);

}  // namespace kv
