// Device I/O as the platform offers it: open a device by name, send one
// control request, close. The Win32 implementation is one call each.
#pragma once

#include <cstdint>

namespace kv {

using NativeHandle = std::intptr_t;
constexpr NativeHandle kInvalidHandle = -1;

// SECURITY_ATTRIBUTES as the channel passes it: all zero.
struct SecurityAttributesRecord {
    std::uint32_t length = 0;
    void* descriptor = nullptr;
    std::int32_t inherit = 0;
};

// OVERLAPPED as the channel passes it: never set, signalled or waited on.
struct OverlappedRecord {
    std::uintptr_t internal = 0;
    std::uintptr_t internalHigh = 0;
    std::uint32_t offset = 0;
    std::uint32_t offsetHigh = 0;
    void* event = nullptr;
};

class DevicePort {
public:
    virtual ~DevicePort() = default;
    virtual NativeHandle CreateFileA(const char* path, std::uint32_t access, std::uint32_t share,
                                     SecurityAttributesRecord* security, std::uint32_t disposition,
                                     std::uint32_t attributes, NativeHandle templateFile) = 0;
    virtual bool DeviceIoControl(NativeHandle device, std::uint32_t code, void* in,
                                 std::uint32_t inSize, void* out, std::uint32_t outSize,
                                 std::uint32_t* bytesReturned, OverlappedRecord* overlapped) = 0;
    virtual bool CloseHandle(NativeHandle handle) = 0;
};

}  // namespace kv
