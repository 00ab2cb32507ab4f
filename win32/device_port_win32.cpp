#include "win32/ports_win32.h"

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

bool Win32DevicePort::DeviceIoControl(NativeHandle device, std::uint32_t code, void* in,
                                      std::uint32_t inSize, void* out, std::uint32_t outSize,
                                      std::uint32_t* bytesReturned, OverlappedRecord* overlapped) {
    DWORD returned = bytesReturned != nullptr ? *bytesReturned : 0;
    OVERLAPPED ov{};
    if (overlapped != nullptr) {
        ov.Internal = overlapped->internal;
        ov.InternalHigh = overlapped->internalHigh;
        ov.Offset = overlapped->offset;
        ov.OffsetHigh = overlapped->offsetHigh;
        ov.hEvent = overlapped->event;
    }
    const BOOL ok = ::DeviceIoControl(reinterpret_cast<HANDLE>(device), code, in, inSize, out, outSize,
                                      bytesReturned != nullptr ? &returned : nullptr,
                                      overlapped != nullptr ? &ov : nullptr);
    if (bytesReturned != nullptr) *bytesReturned = returned;
    if (overlapped != nullptr) {
        overlapped->internal = ov.Internal;
        overlapped->internalHigh = ov.InternalHigh;
    }
    return ok != FALSE;
}

bool Win32DevicePort::CloseHandle(NativeHandle handle) {
    return ::CloseHandle(reinterpret_cast<HANDLE>(handle)) != FALSE;
}

}  // namespace kv::win32
