// Starting a program whose process we then wait for: start with a process
// id, OpenProcess, WaitForSingleObject, CloseHandle.
#pragma once

#include <cstdint>
#include <string>

#include "common/ports/device_port.h"

namespace kv {

constexpr std::uint32_t kSynchronize = 0x00100000;

constexpr std::uint32_t kWaitObject0 = 0x00000000;
constexpr std::uint32_t kWaitAbandoned = 0x00000080;
constexpr std::uint32_t kWaitTimeout = 0x00000102;
constexpr std::uint32_t kWaitFailed = 0xFFFFFFFF;

class ProcessWaitPort {
public:
    virtual ~ProcessWaitPort() = default;
    // Starts `commandLine` with the show state; the new process's id, or 0
    // when it could not be started. The process stays openable by its id
    // until the caller has opened it, even when it ends at once.
    virtual std::uint32_t StartProgram(const std::string& commandLine, int showState) = 0;
    // A handle with `access` to process `pid`, or 0 when refused.
    virtual NativeHandle OpenProcess(std::uint32_t access, bool inherit, std::uint32_t pid) = 0;
    // kWaitObject0 when the process ended, kWaitTimeout, kWaitAbandoned or
    // kWaitFailed.
    virtual std::uint32_t WaitForSingleObject(NativeHandle handle, std::uint32_t ms) = 0;
    virtual bool CloseHandle(NativeHandle handle) = 0;
};

}  // namespace kv
