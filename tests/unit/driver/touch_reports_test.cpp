// The simulated controller as GetTouchState shows it: PenDown, the latest
// raw point and a ReportCount that changes with every report and never
// between reports, all worked out from the time the host passes in.
#include "tests/unit/driver/driver_test_support.h"

namespace kvtest {
namespace {

using TouchReports = DriverTest;

TEST_F(TouchReports, NothingIsReportedBeforeTheFirstTouch) {
    TouchState s = GetTouchState();
    EXPECT_EQ(s.Status & KV_STATUS_PEN_DOWN, 0);
    EXPECT_EQ(s.ReportCount, 0);
    now += 60000;
    EXPECT_EQ(+GetTouchState().ReportCount, 0);
}

TEST_F(TouchReports, ATapReportsAtTheRateWhileDownThenOnceOnLift) {
    // 100 reports/s: one at touch-down and every 10 ms; held for 100 ms.
    const std::uint64_t t0 = now;
    kvd_pen_down(&d(), now, 321, 654, 100, 0);
    struct Sample {
        std::uint64_t at;
        bool down;
        int count;
    };
    const Sample samples[] = {
        {0, true, 1}, {9, true, 1}, {10, true, 2}, {55, true, 6}, {99, true, 10},
        {100, false, 11}, {101, false, 11}, {5000, false, 11},
    };
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.at);
        now = t0 + sample.at;
        TouchState s = GetTouchState();
        EXPECT_EQ((s.Status & KV_STATUS_PEN_DOWN) != 0, sample.down);
        EXPECT_EQ(s.ReportCount, sample.count);
        EXPECT_EQ(s.X, 321) << "the lift report keeps the last point";
        EXPECT_EQ(s.Y, 654);
    }
}

// Whatever the rate and the path, a poll at every millisecond sees the count
// step by at most one, and never sees the point or PenDown change without
// the count changing: a caller that waits for two unchanged reports can
// trust what it waits for.
TEST_F(TouchReports, ThePositionNeverChangesWithoutANewReport) {
    for (std::uint16_t rate : {1, 33, 100, 700, 1000}) {
        SCOPED_TRACE(rate);
        kvd_init(&d(), now);
        kvt_set_rate(&d().touch, now, rate);
        kvd_pen_down(&d(), now, 100, 100, 37, 0);
        kvt_append(&d().touch, 200, 150, 1);
        kvt_append(&d().touch, 300, 200, 64);
        kvt_append(&d().touch, 300, 201, 5);
        TouchState before = GetTouchState();
        for (int step = 0; step < 200; ++step) {
            now += 1;
            TouchState after = GetTouchState();
            int delta = static_cast<std::uint16_t>(after.ReportCount - before.ReportCount);
            EXPECT_LE(delta, 1) << "at step " << step;
            bool changed = after.X != before.X || after.Y != before.Y || after.Status != before.Status;
            if (changed) {
                EXPECT_GE(delta, 1) << "at step " << step;
            }
            before = after;
        }
        EXPECT_EQ(before.Status & KV_STATUS_PEN_DOWN, 0) << "lifted after the last point";
    }
}

TEST_F(TouchReports, AStrokeVisitsEachPointForItsDuration) {
    const std::uint64_t t0 = now;
    kvd_pen_down(&d(), now, 10, 20, 30, 0);
    ASSERT_TRUE(kvt_append(&d().touch, 40, 50, 30));
    ASSERT_TRUE(kvt_append(&d().touch, 70, 80, 30));
    struct Sample {
        std::uint64_t at;
        int x, y;
        bool down;
    };
    const Sample samples[] = {{0, 10, 20, true},  {29, 10, 20, true}, {30, 40, 50, true},
                              {59, 40, 50, true}, {60, 70, 80, true}, {89, 70, 80, true},
                              {90, 70, 80, false}};
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.at);
        now = t0 + sample.at;
        TouchState s = GetTouchState();
        EXPECT_EQ(s.X, sample.x);
        EXPECT_EQ(s.Y, sample.y);
        EXPECT_EQ((s.Status & KV_STATUS_PEN_DOWN) != 0, sample.down);
    }
    // Three points of three reports each, and the lift.
    EXPECT_EQ(+GetTouchState().ReportCount, 10);
}

TEST_F(TouchReports, ReadStateTellsWhenAPlayedTouchEnds) {
    now = 5000;
    kvd_pen_down(&d(), now, 10, 20, 300, 0);
    kvt_append(&d().touch, 40, 50, 200);
    KvSimState s = State();
    EXPECT_EQ(s.TouchPlaying, 1);
    EXPECT_EQ(s.PlayEndsMs, 500u);
    now += 500;
    s = State();
    EXPECT_EQ(s.TouchPlaying, 0);
    EXPECT_EQ(s.PlayEndsMs, 0u);
}

TEST_F(TouchReports, ManualDownMoveUpReportEachChangeAtOnce) {
    kvd_pen_down(&d(), now, 500, 500, 0, 1);
    EXPECT_EQ(+GetTouchState().ReportCount, 1);
    now += 1000;
    EXPECT_TRUE(+State().Touch.Status & KV_STATUS_PEN_DOWN) << "an open touch stays down";
    EXPECT_EQ(+GetTouchState().ReportCount, 101);
    ASSERT_TRUE(kvd_pen_move(&d(), now, 520, 510));
    TouchState s = GetTouchState();
    EXPECT_EQ(s.ReportCount, 102) << "a move is a report of its own";
    EXPECT_EQ(s.X, 520);
    EXPECT_TRUE(kvd_pen_up(&d(), now));
    s = GetTouchState();
    EXPECT_EQ(s.ReportCount, 103);
    EXPECT_EQ(s.Status & KV_STATUS_PEN_DOWN, 0);
    EXPECT_FALSE(kvd_pen_up(&d(), now)) << "lifting a lifted pen does nothing";
    EXPECT_FALSE(kvd_pen_move(&d(), now, 1, 1)) << "a lifted pen cannot move";
    EXPECT_EQ(+GetTouchState().ReportCount, 103);
}

TEST_F(TouchReports, ATouchDuringATouchLiftsTheFirstOne) {
    kvd_pen_down(&d(), now, 100, 100, 1000, 0);
    now += 5;
    kvd_pen_down(&d(), now, 900, 900, 1000, 0);
    TouchState s = GetTouchState();
    // Down report, lift report, the new down report.
    EXPECT_EQ(s.ReportCount, 3);
    EXPECT_EQ(s.X, 900);
}

TEST_F(TouchReports, ARateOfZeroReportsOnlyChanges) {
    ASSERT_EQ(SendPrivate(KVSIM_IOCTL_SET_RATE, KvSimValue{0}), KVD_STATUS_SUCCESS);
    kvd_pen_down(&d(), now, 100, 100, 0, 1);
    now += 10000;
    EXPECT_EQ(+GetTouchState().ReportCount, 1);
    kvd_pen_move(&d(), now, 101, 100);
    EXPECT_EQ(+GetTouchState().ReportCount, 2);
}

TEST_F(TouchReports, ChangingTheRateMidTouchKeepsTheCountGoing) {
    kvd_pen_down(&d(), now, 100, 100, 1000, 0);
    now += 95;  // reports at 0..90: 10
    EXPECT_EQ(+GetTouchState().ReportCount, 10);
    ASSERT_EQ(SendPrivate(KVSIM_IOCTL_SET_RATE, KvSimValue{1000}), KVD_STATUS_SUCCESS);
    EXPECT_EQ(+GetTouchState().ReportCount, 11) << "one report at once";
    now += 10;
    EXPECT_EQ(+GetTouchState().ReportCount, 21);
    now += 895;  // the touch's 1000 ms are over
    EXPECT_EQ(+GetTouchState().Status & KV_STATUS_PEN_DOWN, 0);
}

TEST_F(TouchReports, ReportCountWrapsAt16BitsWhileTheTotalGoesOn) {
    ASSERT_EQ(SendPrivate(KVSIM_IOCTL_SET_RATE, KvSimValue{1000}), KVD_STATUS_SUCCESS);
    kvd_pen_down(&d(), now, 100, 100, 0, 1);
    now += 65536;  // 65537 reports
    EXPECT_EQ(+GetTouchState().ReportCount, 1);
    EXPECT_EQ(+State().ReportsTotal, 65537u);
}

TEST_F(TouchReports, AClockThatStepsBackDoesNotUndoReports) {
    kvd_pen_down(&d(), now, 100, 100, 0, 1);
    now += 50;
    std::uint16_t count = GetTouchState().ReportCount;
    now -= 40;
    EXPECT_GE(+GetTouchState().ReportCount, 1);
    now += 40;
    EXPECT_EQ(+GetTouchState().ReportCount, count);
}

}  // namespace
}  // namespace kvtest
