#include "remove/product_key_removal.h"

#include <cstdint>
#include <string>

#include "common/branding/product_info.h"
#include "common/ports/registry_port.h"
#include "common/ports/registry_tree_port.h"

namespace kv {

namespace {

std::string ProductKey() { return std::string(kProductKeyPath) + "\\" + kProductSubkey; }

void DeleteEmptyVendorKeys(RegistryPort& registry) {
    // RegDeleteKeyA leaves a key that still has subkeys: another product
    // of the vendor keeps its own.
    std::string key = kProductKeyPath;
    for (;;) {
        registry.RegDeleteKeyA(kHkeyLocalMachine, key.c_str());
        const auto cut = key.rfind('\\');
        if (cut == std::string::npos || key.compare(0, cut, "SOFTWARE") == 0) break;
        key.erase(cut);
    }
}

}  // namespace

void RemoveProductKey(RegistryPort& registry, RegistryTreePort& tree) {
    tree.RegDeleteTreeA(kHkeyLocalMachine, ProductKey().c_str());
    DeleteEmptyVendorKeys(registry);
}

void TidyEmptyProductKey(RegistryPort& registry) {
    const std::string path = ProductKey();
    RegKey key = 0;
    if (registry.RegOpenKeyA(kHkeyLocalMachine, path.c_str(), &key) != kErrorSuccess) return;
    bool holdsProductValue = false;
    for (const char* name :
         {"VenderName", "VenderStyle", "InstallPath", "WindowsPath", "SystemPath", "HardwareID"}) {
        std::uint32_t type = 0, size = 0;
        if (registry.RegQueryValueExA(key, name, &type, nullptr, &size) == kErrorSuccess)
            holdsProductValue = true;
    }
    registry.RegCloseKey(key);
    if (holdsProductValue) return;
    registry.RegDeleteKeyA(kHkeyLocalMachine, path.c_str());
    DeleteEmptyVendorKeys(registry);
}

}  // namespace kv
