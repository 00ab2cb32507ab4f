// The registry operations only the installer and the uninstaller use:
// settings as DWORDs or byte lists, text values, opening without creating,
// deleting a key with everything below it.
#pragma once

#include <cstdint>
#include <string>

#include "common/ports/registry_port.h"

namespace kv {

class DesktopPort;
class RegistryTreePort;

// The hexadecimal list SaveSetupValue writes for `size` 1, 2 or 4: of the
// value's eight upper-case hex digits, size 1 the lowest byte ("E8"),
// size 2 the lowest then the second byte ("E8,03"), size 4 the four bytes
// from the highest down, each followed by a comma ("01,02,04,01,"). Any
// other size gives "".
std::string SetupHexList(std::int32_t value, int size);

// Size 0: a REG_DWORD; 1, 2, 4: the bytes of SetupHexList as REG_BINARY;
// any other size writes nothing. A failed write shows
// "Fail to save settings! (<name>)" in a plain box titled `title`.
void SaveSetupValue(RegistryPort& registry, DesktopPort& desktop, const std::string& title,
                    RegKey key, const std::string& name, std::int32_t value, int size);

// REG_BINARY of the first int(length / 3 + 0.9) bytes of a list of
// two-digit hexadecimal pairs at character positions 1, 4, 7, ...
bool SetBinaryValue(RegistryPort& registry, RegKey key, const std::string& name,
                    const std::string& hexList);

// REG_SZ with one terminating NUL; false for key 0 or a failed write.
bool SetStringValue(RegistryPort& registry, RegKey key, const std::string& name,
                    const std::string& text);

// Opens root\path without creating it.
bool OpenExistingKey(RegistryPort& registry, RegKey root, const std::string& path, RegKey& key);

// Deletes root\path with all its subkeys and values.
bool DeleteKey(RegistryTreePort& tree, RegKey root, const std::string& path);

}  // namespace kv
