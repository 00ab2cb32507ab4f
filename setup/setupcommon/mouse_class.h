// The Windows mouse configuration the touch driver takes over: the mouse
// class entries "0000", "0001", ... and the BIOS-enumerated PS/2 devices.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace kv {

class RegistryPort;
class RegistryTreePort;

inline constexpr const char* kMouseClassKey = "System\\CurrentControlSet\\Services\\Class\\Mouse";
inline constexpr const char* kBiosEnumKey = "Enum\\BIOS\\";
inline constexpr std::array<const char*, 6> kPs2MouseIds = {"*PNP0F13", "*PNP0F03", "*PNP0F0B",
                                                            "*PNP0F0E", "*PNP0F12", "*PNP0F1C"};

// The last number four digits can name. The installer builds a complete
// copy of the touch driver's entry there before it touches any PS/2 entry,
// so that a stopped installation never leaves the class without a
// complete entry; no scan of the numbers from "0000" up reaches it.
inline constexpr const char* kStagingEntry = "9999";

// Recorded in a complete staging copy, after its seven values: the name
// of the entry the touch driver takes over.
inline constexpr const char* kReplacesValueName = "ReplacesEntry";

// The entry a complete staging copy replaces; "" when there is none.
std::string StagedEntry(RegistryPort& registry);

// "0000" for 0, "0012" for 12.
std::string MouseEntryName(int n);

// "<mouse class key>\<name>".
std::string MouseEntryPath(const std::string& name);

struct MouseClassScan {
    std::vector<std::string> ps2;  // names of the PS/2 entries, lowest number first
    std::string firstUnused;       // name of the number the scan stopped at
};

// Walks the entries from "0000" up to the first missing number, reading
// only. An entry whose "MouseType" reads (as text) "PS2" in any case is a
// PS/2 entry.
MouseClassScan ScanMouseClass(RegistryPort& registry);

// The scan's PS/2 entries, and `replaced` when it exists but is not among
// them: a stopped installation may have created it without its "MouseType".
std::vector<std::string> EntriesToDelete(RegistryPort& registry, const MouseClassScan& scan,
                                         const std::string& replaced);

// Deletes the named entries with their subkeys, the highest number first:
// a run stopped half-way then leaves the remaining ones below a gap that
// only it made, so the next scan from "0000" still reaches every one of
// them. `onDeleteFailure` gets the path of an entry that could not be
// deleted; the others are still deleted.
void DeleteMouseEntries(RegistryTreePort& tree, std::vector<std::string> names,
                        const std::function<void(const std::string&)>& onDeleteFailure);

// Deletes "Enum\BIOS\<id>" of each PS/2 mouse id, in order; failures (a
// missing key among them) are ignored.
void DeleteBiosMouseKeys(RegistryTreePort& tree);

}  // namespace kv
