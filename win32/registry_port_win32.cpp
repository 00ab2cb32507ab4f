#include "win32/ports_win32.h"

namespace kv::win32 {

HKEY Win32RegistryPort::ToHkey(RegKey key) {
    if (key >= 0x80000000u && key <= 0x80000006u)
        return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(key)));
    return reinterpret_cast<HKEY>(key);
}

long Win32RegistryPort::RegCreateKeyA(RegKey root, const char* path, RegKey* result) {
    HKEY key = nullptr;
    const LONG rc = ::RegCreateKeyA(ToHkey(root), path, &key);
    if (result != nullptr) *result = reinterpret_cast<RegKey>(key);
    return rc;
}

long Win32RegistryPort::RegOpenKeyA(RegKey root, const char* path, RegKey* result) {
    HKEY key = nullptr;
    const LONG rc = ::RegOpenKeyA(ToHkey(root), path, &key);
    if (result != nullptr) *result = reinterpret_cast<RegKey>(key);
    return rc;
}

long Win32RegistryPort::RegQueryValueExA(RegKey key, const char* name, std::uint32_t* type,
                                         std::uint8_t* data, std::uint32_t* size) {
    DWORD t = 0;
    DWORD s = size != nullptr ? *size : 0;
    const LONG rc = ::RegQueryValueExA(ToHkey(key), name, nullptr, type != nullptr ? &t : nullptr, data,
                                       size != nullptr ? &s : nullptr);
    if (type != nullptr) *type = t;
    if (size != nullptr) *size = s;
    return rc;
}

long Win32RegistryPort::RegSetValueExA(RegKey key, const char* name, std::uint32_t type,
                                       const std::uint8_t* data, std::uint32_t size) {
    return ::RegSetValueExA(ToHkey(key), name, 0, type, data, size);
}

long Win32RegistryPort::RegDeleteKeyA(RegKey root, const char* path) {
    return ::RegDeleteKeyA(ToHkey(root), path);
}

long Win32RegistryPort::RegCloseKey(RegKey key) { return ::RegCloseKey(ToHkey(key)); }

}  // namespace kv::win32
