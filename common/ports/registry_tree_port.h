// Deleting a registry key together with everything below it
// (RegDeleteTreeA). RegDeleteKeyA refuses a key that has subkeys.
#pragma once

#include "common/ports/registry_port.h"

namespace kv {

class RegistryTreePort {
public:
    virtual ~RegistryTreePort() = default;
    // Deletes root\path, its values and all its subkeys; the platform's
    // error code (0 = success, 2 = no such key).
    virtual long RegDeleteTreeA(RegKey root, const char* path) = 0;
};

}  // namespace kv
