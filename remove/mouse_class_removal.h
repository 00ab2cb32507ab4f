// Taking the touch driver out of the mouse configuration again; after the
// restart Windows finds the plain PS/2 mouse and sets it up afresh.
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
