#include "win32/setup_ports_win32.h"

#include <windows.h>

#include <vector>

#include "win32/ports_win32.h"

namespace kv::win32 {

unsigned Win32IniPort::GetPrivateProfileStringA(const char* section, const char* key,
                                                const char* defaultText, char* buffer,
                                                unsigned bufferSize, const char* file) {
    return ::GetPrivateProfileStringA(section, key, defaultText, buffer, bufferSize, file);
}

bool Win32IniPort::WritePrivateProfileStringA(const char* section, const char* key,
                                              const char* text, const char* file) {
    return ::WritePrivateProfileStringA(section, key, text, file) != FALSE;
}

bool Win32IniPort::CopyIniFile(const char* from, const char* to) {
    return ::CopyFileA(from, to, FALSE) != FALSE;
}

bool Win32IniPort::MoveIniFile(const char* from, const char* to) {
    return ::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Win32IniPort::DeleteIniFile(const char* path) { return ::DeleteFileA(path) != FALSE; }

Win32ProcessWaitPort::~Win32ProcessWaitPort() { ReleaseStarted(); }

void Win32ProcessWaitPort::ReleaseStarted() {
    if (started_) ::CloseHandle(started_);
    started_ = nullptr;
    startedId_ = 0;
}

std::uint32_t Win32ProcessWaitPort::StartProgram(const std::string& commandLine, int showState) {
    ReleaseStarted();
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showState);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
        return 0;
    ::CloseHandle(info.hThread);
    started_ = info.hProcess;
    startedId_ = info.dwProcessId;
    return info.dwProcessId;
}

NativeHandle Win32ProcessWaitPort::OpenProcess(std::uint32_t access, bool inherit,
                                               std::uint32_t pid) {
    HANDLE process = ::OpenProcess(access, inherit ? TRUE : FALSE, pid);
    if (pid == startedId_) ReleaseStarted();  // the caller's handle keeps it now
    return reinterpret_cast<NativeHandle>(process);
}

std::uint32_t Win32ProcessWaitPort::WaitForSingleObject(NativeHandle handle, std::uint32_t ms) {
    return ::WaitForSingleObject(reinterpret_cast<HANDLE>(handle), ms);
}

bool Win32ProcessWaitPort::CloseHandle(NativeHandle handle) {
    return ::CloseHandle(reinterpret_cast<HANDLE>(handle)) != FALSE;
}

int Win32RestartPort::ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
    // Systems since NT refuse a restart unless the caller's shutdown
    // privilege is enabled; an administrator holds it, disabled.
    HANDLE token = nullptr;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (::LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
            ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        ::CloseHandle(token);
    }
    return ::ExitWindowsEx(flags, reason);
}

long Win32RegistryTreePort::RegDeleteTreeA(RegKey root, const char* path) {
    // An empty path would empty the root itself: refuse it.
    if (path == nullptr || *path == '\0') return ERROR_INVALID_PARAMETER;
    return ::RegDeleteTreeA(Win32RegistryPort::ToHkey(root), path);
}

}  // namespace kv::win32
