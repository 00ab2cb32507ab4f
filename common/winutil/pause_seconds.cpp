#include "common/winutil/pause_seconds.h"

#include <cmath>
#include <cstdint>

#include "common/ports/clock_port.h"

namespace kv {

namespace {
// Bounds one sleep, so the pause ends close to its deadline even when no
// event wakes it.
constexpr int kLongestWaitMs = 50;
}  // namespace

void PauseSeconds(ClockPort& clock, int seconds, const std::function<void()>& runEvents) {
    // The time of day decides how long the pause is; the monotonic clock
    // decides when it is over.
    const double now = clock.SecondsSinceMidnight();
    const double remaining = std::nearbyint(now) + seconds - now;  // n - 1/2 .. n + 1/2
    const std::uint64_t start = clock.Milliseconds();
    const long long remainingMs = std::llround(remaining * 1000);
    const std::uint64_t deadline = start + static_cast<std::uint64_t>(remainingMs > 0 ? remainingMs : 0);
    for (;;) {
        runEvents();
        const std::uint64_t t = clock.Milliseconds();
        if (t >= deadline) return;
        const std::uint64_t left = deadline - t;
        clock.WaitForEvents(static_cast<int>(left < kLongestWaitMs ? left : kLongestWaitMs));
    }
}

}  // namespace kv
