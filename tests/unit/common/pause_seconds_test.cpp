#include "common/winutil/pause_seconds.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_clock.h"

namespace kv {
namespace {

struct PauseCase {
    double startTimeOfDay;
    int seconds;
    int expectedMs;
};

class PauseSecondsTest : public ::testing::TestWithParam<PauseCase> {};

// The pause runs from the nearest whole second; one just before midnight
// must end although the time of day wraps to 0 meanwhile.
TEST_P(PauseSecondsTest, EndsAtTheRoundedSecondPlusN) {
    const PauseCase& c = GetParam();
    FakeClock clock(c.startTimeOfDay);
    const std::uint64_t start = clock.Milliseconds();
    int events = 0;
    PauseSeconds(clock, c.seconds, [&] { ++events; });
    EXPECT_EQ(static_cast<int>(clock.Milliseconds() - start), c.expectedMs);
    EXPECT_GE(events, c.expectedMs > 0 ? 2 : 1);  // events run while it waits
    for (int wait : clock.Waits()) EXPECT_LE(wait, 50);
}

INSTANTIATE_TEST_SUITE_P(Cases, PauseSecondsTest,
                         ::testing::Values(PauseCase{36000.0, 1, 1000},   // on a whole second
                                           PauseCase{36000.4, 1, 600},    // rounds down
                                           PauseCase{36000.6, 1, 1400},   // rounds up
                                           PauseCase{86399.8, 1, 1200},   // rounds to midnight
                                           PauseCase{86399.2, 3, 2800},   // crosses midnight
                                           PauseCase{36000.0, 10, 10000},
                                           PauseCase{36000.0, 0, 0},
                                           PauseCase{36000.7, 0, 300}));

}  // namespace
}  // namespace kv
