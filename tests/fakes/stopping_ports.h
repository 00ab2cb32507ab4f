// Registry, key-tree and INI ports that pass every call on to the fakes
// and stop the run right after its k-th change, the way a power cut or
// Task Manager would: the change is made, then RunStopped is thrown
// through the code under test. Changes are what a later run could see:
// a key created that was missing, a value set, a key deleted, an INI
// write, a file copied, moved or deleted; calls that fail or find the key
// already there are not counted.
#pragma once

#include "common/ports/ini_port.h"
#include "common/ports/registry_port.h"
#include "common/ports/registry_tree_port.h"

namespace kv {

struct RunStopped {};

class StoppingPorts : public RegistryPort, public RegistryTreePort, public IniPort {
public:
    StoppingPorts(RegistryPort& registry, RegistryTreePort& tree, IniPort& ini)
        : registry_(registry), tree_(tree), ini_(ini) {}

    // 0 and below: never stop.
    int stopAfter = 0;
    int changes = 0;
    // An INI write to stop at is cut short instead: the platform rewrites
    // the whole file, and a stop inside that leaves it without its text.
    bool cutWriteShort = false;

    long RegCreateKeyA(RegKey root, const char* path, RegKey* result) override;
    long RegOpenKeyA(RegKey root, const char* path, RegKey* result) override {
        return registry_.RegOpenKeyA(root, path, result);
    }
    long RegQueryValueExA(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                          std::uint32_t* size) override {
        return registry_.RegQueryValueExA(key, name, type, data, size);
    }
    long RegSetValueExA(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                        std::uint32_t size) override {
        return Counted(registry_.RegSetValueExA(key, name, type, data, size) == kErrorSuccess, 0);
    }
    long RegDeleteKeyA(RegKey root, const char* path) override {
        const long result = registry_.RegDeleteKeyA(root, path);
        return Counted(result == kErrorSuccess, result);
    }
    long RegCloseKey(RegKey key) override { return registry_.RegCloseKey(key); }

    long RegDeleteTreeA(RegKey root, const char* path) override {
        const long result = tree_.RegDeleteTreeA(root, path);
        return Counted(result == kErrorSuccess, result);
    }

    unsigned GetPrivateProfileStringA(const char* section, const char* key, const char* defaultText,
                                      char* buffer, unsigned bufferSize, const char* file) override {
        return ini_.GetPrivateProfileStringA(section, key, defaultText, buffer, bufferSize, file);
    }
    bool WritePrivateProfileStringA(const char* section, const char* key, const char* text,
                                    const char* file) override {
        if (cutWriteShort && changes + 1 == stopAfter) {
            ini_.DeleteIniFile(file);
            ++changes;
            throw RunStopped{};
        }
        const bool written = ini_.WritePrivateProfileStringA(section, key, text, file);
        Counted(written, 0);
        return written;
    }

    bool CopyIniFile(const char* from, const char* to) override {
        const bool copied = ini_.CopyIniFile(from, to);
        Counted(copied, 0);
        return copied;
    }
    bool MoveIniFile(const char* from, const char* to) override {
        const bool moved = ini_.MoveIniFile(from, to);
        Counted(moved, 0);
        return moved;
    }
    bool DeleteIniFile(const char* path) override {
        const bool deleted = ini_.DeleteIniFile(path);
        Counted(deleted, 0);
        return deleted;
    }

private:
    // Passes `result` on, after stopping the run when this was the change to stop after.
    long Counted(bool changed, long result);

    RegistryPort& registry_;
    RegistryTreePort& tree_;
    IniPort& ini_;
};

}  // namespace kv
