#include "common/registry/registry_store.h"

#include <cstring>
#include <vector>

namespace kv {

namespace {
// Larger text values are not ours: refuse them rather than allocate
// whatever size a damaged value claims.
constexpr std::uint32_t kMaxStringValueBytes = 1u << 20;
}  // namespace

bool OpenKey(RegistryPort& registry, RegKey root, const std::string& path, std::string& subkey,
             RegKey& key) {
    if (path.empty()) return false;
    if (!subkey.empty() && subkey.front() == '\\') subkey.erase(0, 1);
    const std::string fullPath = subkey.empty() ? path : path + "\\" + subkey;
    RegKey opened = 0;
    if (registry.RegCreateKeyA(root, fullPath.c_str(), &opened) != kErrorSuccess) return false;
    key = opened;
    return true;
}

bool CloseKey(RegistryPort& registry, RegKey key) {
    return registry.RegCloseKey(key) == kErrorSuccess;
}

bool ReadDwordValue(RegistryPort& registry, RegKey key, const std::string& name,
                    std::int32_t& value) {
    std::uint8_t data[4] = {};
    std::uint32_t type = kRegNone;
    std::uint32_t size = sizeof data;
    if (registry.RegQueryValueExA(key, name.c_str(), &type, data, &size) != kErrorSuccess)
        return false;
    // A shorter "DWORD" would leave part of the number unread.
    if (type != kRegDword || size != sizeof data) return false;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(data[0]) |
                                      static_cast<std::uint32_t>(data[1]) << 8 |
                                      static_cast<std::uint32_t>(data[2]) << 16 |
                                      static_cast<std::uint32_t>(data[3]) << 24);
    return true;
}

bool ReadStringValue(RegistryPort& registry, RegKey key, const std::string& name,
                     std::string& text) {
    std::uint32_t type = kRegNone;
    std::uint32_t size = 0;
    if (registry.RegQueryValueExA(key, name.c_str(), &type, nullptr, &size) != kErrorSuccess)
        return false;
    if (type != kRegSz || size > kMaxStringValueBytes) return false;

    // One spare byte so that even a zero-size read passes a real buffer
    // (a null buffer would ask for the size again).
    std::vector<std::uint8_t> buffer(size + 1, ' ');
    std::uint32_t returned = size;
    type = kRegNone;
    if (registry.RegQueryValueExA(key, name.c_str(), &type, buffer.data(), &returned) !=
        kErrorSuccess)
        return false;
    // The value may have been rewritten between the two queries.
    if (type != kRegSz || returned > size) return false;
    text = TrimAtNul(std::string(reinterpret_cast<const char*>(buffer.data()), returned));
    return true;
}

bool SetDwordValue(RegistryPort& registry, RegKey key, const std::string& name,
                   std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    const std::uint8_t data[4] = {
        static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
        static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
    return registry.RegSetValueExA(key, name.c_str(), kRegDword, data, sizeof data) ==
           kErrorSuccess;
}

std::string TrimAtNul(const std::string& text) {
    const auto nul = text.find('\0');
    return nul == std::string::npos ? text : text.substr(0, nul);
}

}  // namespace kv
