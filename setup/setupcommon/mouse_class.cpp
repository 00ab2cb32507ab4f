#include "setup/setupcommon/mouse_class.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "common/ports/registry_port.h"
#include "common/registry/registry_store.h"
#include "setup/setupcommon/installer_registry.h"

namespace kv {

namespace {

// Four digits name at most 10000 entries; the last one is the staging copy.
constexpr int kEntryLimit = 9999;

bool EqualsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

std::string MouseEntryName(int n) {
    char name[16];
    std::snprintf(name, sizeof name, "%04d", n);
    return name;
}

std::string MouseEntryPath(const std::string& name) {
    return std::string(kMouseClassKey) + "\\" + name;
}

MouseClassScan ScanMouseClass(RegistryPort& registry) {
    MouseClassScan scan;
    for (int n = 0; n < kEntryLimit; ++n) {
        const std::string name = MouseEntryName(n);
        RegKey key = 0;
        if (!OpenExistingKey(registry, kHkeyLocalMachine, MouseEntryPath(name), key)) {
            scan.firstUnused = name;
            break;
        }
        std::string type;
        const bool ps2 = ReadStringValue(registry, key, "MouseType", type) && EqualsNoCase(type, "PS2");
        CloseKey(registry, key);
        if (ps2) scan.ps2.push_back(name);
    }
    return scan;
}

std::string StagedEntry(RegistryPort& registry) {
    RegKey key = 0;
    if (!OpenExistingKey(registry, kHkeyLocalMachine, MouseEntryPath(kStagingEntry), key)) return "";
    std::string name;
    const bool read = ReadStringValue(registry, key, kReplacesValueName, name);
    CloseKey(registry, key);
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    const bool valid = name.size() == 4 && std::all_of(name.begin(), name.end(), digit) && name != kStagingEntry;
    return read && valid ? name : "";
}

std::vector<std::string> EntriesToDelete(RegistryPort& registry, const MouseClassScan& scan,
                                         const std::string& replaced) {
    std::vector<std::string> names = scan.ps2;
    RegKey key = 0;
    if (!replaced.empty() && std::find(names.begin(), names.end(), replaced) == names.end() &&
        OpenExistingKey(registry, kHkeyLocalMachine, MouseEntryPath(replaced), key)) {
        CloseKey(registry, key);
        names.push_back(replaced);
    }
    return names;
}

void DeleteMouseEntries(RegistryTreePort& tree, std::vector<std::string> names,
                        const std::function<void(const std::string&)>& onDeleteFailure) {
    std::sort(names.rbegin(), names.rend());
    for (const std::string& name : names) {
        const std::string path = MouseEntryPath(name);
        if (!DeleteKey(tree, kHkeyLocalMachine, path) && onDeleteFailure) onDeleteFailure(path);
    }
}

void DeleteBiosMouseKeys(RegistryTreePort& tree) {
    for (const char* id : kPs2MouseIds) DeleteKey(tree, kHkeyLocalMachine, std::string(kBiosEnumKey) + id);
}

}  // namespace kv
