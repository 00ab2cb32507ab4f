#include "win32/ports_win32.h"

namespace kv::win32 {

Win32ProcessPort::~Win32ProcessPort() {
    for (auto& [id, mutex] : owned_) ::CloseHandle(mutex);
}

unsigned Win32ProcessPort::WinExec(const std::string& commandLine, int showState) {
    return ::WinExec(commandLine.c_str(), static_cast<UINT>(showState));
}

bool Win32ProcessPort::PreviousInstanceRunning(const std::string& programId) {
    if (owned_.count(programId) != 0) return false;  // we are the first instance
    HANDLE mutex = ::CreateMutexA(nullptr, FALSE, ("Local\\" + programId).c_str());
    const DWORD error = ::GetLastError();
    if (mutex == nullptr) return false;
    if (error == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return true;
    }
    owned_[programId] = mutex;
    return false;
}

bool Win32ProcessPort::FileExists(const std::string& path) {
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        ::SetLastError(0);  // a missing file is an answer, not an error
        return false;
    }
    ::CloseHandle(h);
    return true;
}

}  // namespace kv::win32
