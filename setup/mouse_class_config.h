// Rewiring the mouse configuration so that, once Windows restarts, the
// PS/2 port is served by the touch driver instead of the plain mouse one.
#pragma once

#include <string>

namespace kv {

struct ProductInfo;
struct SetupPorts;

// "TouchScreen - PS/2 Mouse (7.0.PS2.PNP0F13)" for "*PNP0F13".
std::string TouchDeviceDescription(const std::string& id);

// Writes the "Strings" section of "<WindowsPath>\inf\KVTOUCH.INF"; deletes
// every PS/2 mouse class entry and the BIOS-enumerated PS/2 devices; writes
// the touch driver's entry at the number of the first PS/2 entry, or at the
// first unused number when there was none. A failed INF write changes no
// registry value at all. Failures show "Fail to config system registry!";
// true when everything was written.
//
// Safe to stop anywhere and run again: a complete copy of the driver's
// entry is built at kStagingEntry before any PS/2 entry goes, and removed
// only once the entry at its final number is complete; a rerun finds the
// copy and finishes the same way. When the copy cannot be written, no
// PS/2 entry is touched.
bool ConfigureMouseClass(SetupPorts& ports, const ProductInfo& product, const std::string& title);

}  // namespace kv
