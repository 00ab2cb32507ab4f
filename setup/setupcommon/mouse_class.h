// The Windows mouse configuration the touch driver takes over: the mouse
// class entries "0000", "0001", ... and the BIOS-enumerated PS/2 devices.
#pragma once

#include <array>
#include <functional>
#include <string>

namespace kv {

class RegistryPort;
class RegistryTreePort;

inline constexpr const char* kMouseClassKey = "System\\CurrentControlSet\\Services\\Class\\Mouse";
inline constexpr const char* kBiosEnumKey = "Enum\\BIOS\\";
inline constexpr std::array<const char*, 6> kPs2MouseIds = {"*PNP0F13", "*PNP0F03", "*PNP0F0B",
                                                            "*PNP0F0E", "*PNP0F12", "*PNP0F1C"};

// "0000" for 0, "0012" for 12.
std::string MouseEntryName(int n);

struct MouseClassScan {
    std::string firstPs2;     // name of the first PS/2 entry; "" when none
    std::string firstUnused;  // name of the number the scan stopped at
};

// Walks the entries from "0000" up to the first missing number. An entry
// whose "MouseType" reads (as text) "PS2" in any case is a PS/2 entry: it
// is closed and then deleted with its subkeys; `onDeleteFailure` gets the
// path of an entry that could not be deleted, and the scan goes on.
MouseClassScan ScanAndDeletePs2Entries(RegistryPort& registry, RegistryTreePort& tree,
                                       const std::function<void(const std::string&)>& onDeleteFailure);

// Deletes "Enum\BIOS\<id>" of each PS/2 mouse id, in order; failures (a
// missing key among them) are ignored.
void DeleteBiosMouseKeys(RegistryTreePort& tree);

}  // namespace kv
