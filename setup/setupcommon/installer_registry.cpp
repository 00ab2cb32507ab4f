#include "setup/setupcommon/installer_registry.h"

#include <cstdio>
#include <vector>

#include "common/ports/desktop_port.h"
#include "common/ports/registry_tree_port.h"
#include "common/registry/registry_store.h"

namespace kv {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The hexadecimal number a pair begins with; 0 when it begins with none.
std::uint8_t PairValue(const std::string& pair) {
    unsigned value = 0;
    for (char c : pair) {
        const int d = HexDigit(c);
        if (d < 0) break;
        value = value * 16 + static_cast<unsigned>(d);
    }
    return static_cast<std::uint8_t>(value);
}

}  // namespace

std::string SetupHexList(std::int32_t value, int size) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08X", static_cast<std::uint32_t>(value));
    const std::string hex(digits);
    switch (size) {
    case 1:
        return hex.substr(6, 2);
    case 2:
        return hex.substr(6, 2) + "," + hex.substr(4, 2);
    case 4:
        return hex.substr(0, 2) + "," + hex.substr(2, 2) + "," + hex.substr(4, 2) + "," +
               hex.substr(6, 2) + ",";
    default:
        return "";
    }
}

void SaveSetupValue(RegistryPort& registry, DesktopPort& desktop, const std::string& title,
                    RegKey key, const std::string& name, std::int32_t value, int size) {
    bool saved;
    if (size == 0) {
        saved = SetDwordValue(registry, key, name, value);
    } else if (size == 1 || size == 2 || size == 4) {
        saved = SetBinaryValue(registry, key, name, SetupHexList(value, size));
    } else {
        return;
    }
    if (!saved) desktop.MessageBoxA(0, "Fail to save settings! (" + name + ")", title, kMbOk);
}

bool SetBinaryValue(RegistryPort& registry, RegKey key, const std::string& name,
                    const std::string& hexList) {
    const auto count = static_cast<std::size_t>(static_cast<double>(hexList.size()) / 3 + 0.9);
    std::vector<std::uint8_t> bytes;
    for (std::size_t at = 0; at < hexList.size() && bytes.size() < count; at += 3)
        bytes.push_back(PairValue(hexList.substr(at, 2)));
    return registry.RegSetValueExA(key, name.c_str(), kRegBinary, bytes.data(),
                                   static_cast<std::uint32_t>(bytes.size())) == kErrorSuccess;
}

bool SetStringValue(RegistryPort& registry, RegKey key, const std::string& name,
                    const std::string& text) {
    if (key == 0) return false;
    return registry.RegSetValueExA(key, name.c_str(), kRegSz,
                                   reinterpret_cast<const std::uint8_t*>(text.c_str()),
                                   static_cast<std::uint32_t>(text.size() + 1)) == kErrorSuccess;
}

bool OpenExistingKey(RegistryPort& registry, RegKey root, const std::string& path, RegKey& key) {
    RegKey opened = 0;
    if (registry.RegOpenKeyA(root, path.c_str(), &opened) != kErrorSuccess) return false;
    key = opened;
    return true;
}

bool DeleteKey(RegistryTreePort& tree, RegKey root, const std::string& path) {
    return tree.RegDeleteTreeA(root, path.c_str()) == kErrorSuccess;
}

}  // namespace kv
