// A clock for unit tests: time moves only when the code under test waits
// (WaitForEvents advances both clocks by the wait), or when a test moves it.
// The time of day wraps at midnight as the real one does.
#pragma once

#include <cstdint>
#include <vector>

#include "common/ports/clock_port.h"

namespace kv {

class FakeClock : public ClockPort {
public:
    static constexpr double kDay = 86400.0;

    explicit FakeClock(double secondsSinceMidnight = 36000.0) : timeOfDay_(secondsSinceMidnight) {}

    double SecondsSinceMidnight() override { return timeOfDay_; }
    std::uint64_t Milliseconds() override { return ms_; }
    void WaitForEvents(int ms) override {
        waits_.push_back(ms);
        Advance(ms);
    }

    void Advance(int ms) {
        ms_ += static_cast<std::uint64_t>(ms);
        timeOfDay_ += ms / 1000.0;
        if (timeOfDay_ >= kDay) timeOfDay_ -= kDay;
    }
    const std::vector<int>& Waits() const { return waits_; }

private:
    double timeOfDay_;
    std::uint64_t ms_ = 1000;
    std::vector<int> waits_;
};

}  // namespace kv
