#include "win32/ports_win32.h"

#include <cstddef>

namespace kv::win32 {

NativeHandle Win32DevicePort::CreateFileA(const char* path, std::uint32_t access, std::uint32_t share,
                                          SecurityAttributesRecord* security,
                                          std::uint32_t disposition, std::uint32_t attributes,
                                          NativeHandle templateFile) {
    SECURITY_ATTRIBUTES sa{};
    if (security != nullptr) {
        sa.nLength = security->length;
        sa.lpSecurityDescriptor = security->descriptor;
        sa.bInheritHandle = security->inherit;
    }
    HANDLE h = ::CreateFileA(path, access, share, security != nullptr ? &sa : nullptr, disposition,
                             attributes, reinterpret_cast<HANDLE>(templateFile));
    return reinterpret_cast<NativeHandle>(h);
}

// The channel's overlapped record is laid out as OVERLAPPED, so it is
// passed to the platform itself, as the system always passed it.
static_assert(sizeof(OverlappedRecord) == sizeof(OVERLAPPED));
static_assert(offsetof(OverlappedRecord, offset) == offsetof(OVERLAPPED, Offset));
static_assert(offsetof(OverlappedRecord, event) == offsetof(OVERLAPPED, hEvent));

bool Win32DevicePort::DeviceIoControl(NativeHandle device, std::uint32_t code, void* in,
                                      std::uint32_t inSize, void* out, std::uint32_t outSize,
                                      std::uint32_t* bytesReturned, OverlappedRecord* overlapped) {
    static_assert(sizeof(DWORD) == sizeof(std::uint32_t));
    return ::DeviceIoControl(reinterpret_cast<HANDLE>(device), code, in, inSize, out, outSize,
                             reinterpret_cast<DWORD*>(bytesReturned),
                             reinterpret_cast<OVERLAPPED*>(overlapped)) != FALSE;
}

bool Win32DevicePort::CloseHandle(NativeHandle handle) {
    return ::CloseHandle(reinterpret_cast<HANDLE>(handle)) != FALSE;
}

}  // namespace kv::win32
