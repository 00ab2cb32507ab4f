// Ending the session so that the system restarts (ExitWindowsEx).
#pragma once

#include <cstdint>

namespace kv {

constexpr std::uint32_t kEwxReboot = 0x2;

class RestartPort {
public:
    virtual ~RestartPort() = default;
    // The platform's result: non-zero when the request was accepted.
    virtual int ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) = 0;
};

}  // namespace kv
