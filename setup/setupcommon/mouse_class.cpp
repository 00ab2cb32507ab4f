#include "setup/setupcommon/mouse_class.h"

#include <cctype>
#include <cstdio>

#include "common/ports/registry_port.h"
#include "common/registry/registry_store.h"
#include "setup/setupcommon/installer_registry.h"

namespace kv {

namespace {

// Four digits name at most 10000 entries.
constexpr int kEntryLimit = 10000;

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

MouseClassScan ScanAndDeletePs2Entries(RegistryPort& registry, RegistryTreePort& tree,
                                       const std::function<void(const std::string&)>& onDeleteFailure) {
    MouseClassScan scan;
    for (int n = 0; n < kEntryLimit; ++n) {
        const std::string name = MouseEntryName(n);
        const std::string path = std::string(kMouseClassKey) + "\\" + name;
        RegKey key = 0;
        if (!OpenExistingKey(registry, kHkeyLocalMachine, path, key)) {
            scan.firstUnused = name;
            break;
        }
        std::string type;
        const bool ps2 = ReadStringValue(registry, key, "MouseType", type) && EqualsNoCase(type, "PS2");
        CloseKey(registry, key);
        if (!ps2) continue;
        if (scan.firstPs2.empty()) scan.firstPs2 = name;
        if (!DeleteKey(tree, kHkeyLocalMachine, path) && onDeleteFailure) onDeleteFailure(path);
    }
    return scan;
}

void DeleteBiosMouseKeys(RegistryTreePort& tree) {
    for (const char* id : kPs2MouseIds) DeleteKey(tree, kHkeyLocalMachine, std::string(kBiosEnumKey) + id);
}

}  // namespace kv
