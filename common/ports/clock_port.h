// Clocks and waiting: the time of day, a clock that never wraps, and a
// wait that returns early when a window event arrives.
#pragma once

#include <cstdint>

namespace kv {

class ClockPort {
public:
    virtual ~ClockPort() = default;
    // Local time of day in seconds since midnight (GetLocalTime), with its
    // fraction.
    virtual double SecondsSinceMidnight() = 0;
    // Milliseconds since some fixed point (GetTickCount64); never wraps.
    virtual std::uint64_t Milliseconds() = 0;
    // Blocks until a window event is waiting or `ms` milliseconds pass
    // (MsgWaitForMultipleObjectsEx), then returns without handling it.
    virtual void WaitForEvents(int ms) = 0;
};

}  // namespace kv
