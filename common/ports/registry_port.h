// The registry as RegCreateKeyA & co. offer it. Results are the
// platform's error codes (0 = success, 2 = not found, 234 = more data).
#pragma once

#include <cstdint>

namespace kv {

using RegKey = std::uintptr_t;

constexpr RegKey kHkeyClassesRoot = 0x80000000u;
constexpr RegKey kHkeyCurrentUser = 0x80000001u;
constexpr RegKey kHkeyLocalMachine = 0x80000002u;
constexpr RegKey kHkeyUsers = 0x80000003u;

constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorMoreData = 234;

class RegistryPort {
public:
    virtual ~RegistryPort() = default;
    // Opens root\path, creating missing keys on the way.
    virtual long RegCreateKeyA(RegKey root, const char* path, RegKey* result) = 0;
    // Opens root\path without creating it.
    virtual long RegOpenKeyA(RegKey root, const char* path, RegKey* result) = 0;
    // data may be null to learn type and size; *size is in bytes.
    virtual long RegQueryValueExA(RegKey key, const char* name, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) = 0;
    virtual long RegSetValueExA(RegKey key, const char* name, std::uint32_t type,
                                const std::uint8_t* data, std::uint32_t size) = 0;
    virtual long RegDeleteKeyA(RegKey root, const char* path) = 0;
    virtual long RegCloseKey(RegKey key) = 0;
};

}  // namespace kv
