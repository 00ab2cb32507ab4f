// The registry operations every program shares. Each returns true exactly
// when the platform call succeeded (and, for the reads, the value has the
// expected type); out-values are written only on success, so a caller's
// variable keeps its default when a value is missing.
#pragma once

#include <cstdint>
#include <string>

#include "common/ports/registry_port.h"

namespace kv {

// Opens root\path\subkey, creating what is missing (RegCreateKeyA), so that
// opening for reading also creates a missing key. A leading "\" is removed
// from `subkey` in place (the platform refuses a path that begins with one);
// an empty `path` fails without calling the platform.
bool OpenKey(RegistryPort& registry, RegKey root, const std::string& path, std::string& subkey,
             RegKey& key);

bool CloseKey(RegistryPort& registry, RegKey key);

// A REG_DWORD of exactly 4 bytes.
bool ReadDwordValue(RegistryPort& registry, RegKey key, const std::string& name,
                    std::int32_t& value);

// A REG_SZ value, cut at its first NUL. Stored data need not end in a NUL.
bool ReadStringValue(RegistryPort& registry, RegKey key, const std::string& name,
                     std::string& text);

// Writes a REG_DWORD with a data length of 4.
bool SetDwordValue(RegistryPort& registry, RegKey key, const std::string& name,
                   std::int32_t value);

// The part of `text` before its first NUL; all of it when there is none.
std::string TrimAtNul(const std::string& text);

}  // namespace kv
