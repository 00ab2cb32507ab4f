// The ports only the installer and the uninstaller use, on Win32: INI
// files, starting and awaiting a process, the restart, deleting a key tree.
#pragma once

#include <windows.h>

#include "common/ports/ini_port.h"
#include "common/ports/process_wait_port.h"
#include "common/ports/registry_tree_port.h"
#include "common/ports/restart_port.h"

namespace kv::win32 {

class Win32IniPort : public IniPort {
public:
    unsigned GetPrivateProfileStringA(const char* section, const char* key, const char* defaultText,
                                      char* buffer, unsigned bufferSize, const char* file) override;
    bool WritePrivateProfileStringA(const char* section, const char* key, const char* text,
                                    const char* file) override;
    bool CopyIniFile(const char* from, const char* to) override;
    bool MoveIniFile(const char* from, const char* to) override;
    bool DeleteIniFile(const char* path) override;
};

class Win32ProcessWaitPort : public ProcessWaitPort {
public:
    ~Win32ProcessWaitPort() override;
    // CreateProcessA, because WinExec tells no process id. The new
    // process's handle is held until that process is opened by its id (or
    // the next start): a program that ends at once would otherwise be gone
    // before the caller opens it, and its id free for another process.
    std::uint32_t StartProgram(const std::string& commandLine, int showState) override;
    NativeHandle OpenProcess(std::uint32_t access, bool inherit, std::uint32_t pid) override;
    std::uint32_t WaitForSingleObject(NativeHandle handle, std::uint32_t ms) override;
    bool CloseHandle(NativeHandle handle) override;

private:
    void ReleaseStarted();
    HANDLE started_ = nullptr;
    DWORD startedId_ = 0;
};

// Enables the process's shutdown privilege, then ExitWindowsEx.
class Win32RestartPort : public RestartPort {
public:
    int ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override;
};

class Win32RegistryTreePort : public RegistryTreePort {
public:
    long RegDeleteTreeA(RegKey root, const char* path) override;
};

}  // namespace kv::win32
