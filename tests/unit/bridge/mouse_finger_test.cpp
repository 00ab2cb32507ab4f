// The mouse as a finger: which mouse events kvfinger keeps from the desktop
// and what they do to the simulated panel, and when the marker of the
// driver's mapped point shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/bridge/mouse_finger.h"

namespace kv::bridge {
namespace {

using MK = MouseEvent::Kind;

struct Step {
    MK kind;
    int x, y;
    std::uint64_t t;
    bool bridge = false;
    bool area = true;
    bool injected = false;
};

// One line per event: "-" passed on or "x" kept, then the pen actions.
std::string Feed(const std::vector<Step>& steps, MouseFinger& f) {
    std::string s;
    for (const Step& st : steps) {
        const FingerDecision d = f.OnMouse({st.kind, st.x, st.y, st.t, st.bridge, st.injected, st.area});
        s += d.swallow ? "x" : "-";
        for (const PenAction& a : d.pen) {
            if (a.kind == PenAction::Kind::Up) s += " up";
            else s += (a.kind == PenAction::Kind::Down ? " down(" : " move(") + std::to_string(a.x) +
                      "," + std::to_string(a.y) + ")";
        }
        s += "; ";
    }
    return s;
}

TEST(MouseFinger, PressesOverTouchAreasBecomeTouchesAndEverythingElseStaysMouse) {
    struct Case {
        const char* what;
        std::vector<Step> steps;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"press, drag, release: a stroke of the finger, hidden from the desktop",
         {{MK::LeftDown, 10, 20, 0}, {MK::Move, 30, 20, 40}, {MK::Move, 30, 20, 50},
          {MK::LeftUp, 30, 20, 200}},
         "x down(10,20); x move(30,20); x; x up; "},
        {"the bridge's replay never moves the finger, held or not",
         {{MK::Move, 500, 400, 0, true}, {MK::LeftDown, 10, 20, 5}, {MK::Move, 700, 90, 10, true},
          {MK::LeftDown, 700, 90, 11, true}, {MK::Move, 12, 20, 30}, {MK::LeftUp, 700, 90, 150, true},
          {MK::LeftUp, 12, 20, 160}},
         "-; x down(10,20); -; -; x move(12,20); -; x up; "},
        {"Wine's untagged echo of the bridge's point right after it is not followed; a move "
         "there later is",
         {{MK::LeftDown, 10, 20, 0}, {MK::Move, 700, 90, 10, true}, {MK::Move, 700, 90, 30},
          {MK::Move, 700, 90, 10 + MouseFinger::kEchoMs + 1}, {MK::LeftUp, 700, 90, 200}},
         "x down(10,20); -; x; x move(700,90); x up; "},
        {"the finger follows the source that pressed it, the other's moves are kept from the "
         "desktop",
         {{MK::LeftDown, 10, 20, 0, false, true, true}, {MK::Move, 500, 500, 10},
          {MK::Move, 30, 20, 20, false, true, true}, {MK::LeftUp, 30, 20, 200, false, true, true},
          {MK::LeftDown, 40, 40, 300}, {MK::Move, 600, 600, 310, false, true, true},
          {MK::Move, 50, 40, 320}, {MK::LeftUp, 50, 40, 400}},
         "x down(10,20); x; x move(30,20); x up; x down(40,40); x; x move(50,40); x up; "},
        {"a press elsewhere is an ordinary click",
         {{MK::LeftDown, 10, 20, 0, false, false}, {MK::Move, 40, 20, 30, false, false},
          {MK::LeftUp, 40, 20, 200, false, false}},
         "-; -; -; "},
        {"the right button and the wheel stay mouse input, also while touching",
         {{MK::Other, 10, 20, 0}, {MK::LeftDown, 10, 20, 10}, {MK::Other, 10, 20, 20},
          {MK::LeftUp, 10, 20, 200}},
         "-; x down(10,20); -; x up; "},
        {"a quick click keeps the finger down until its minimum time; moves meanwhile are kept "
         "but do not slide it",
         {{MK::LeftDown, 10, 20, 0}, {MK::LeftUp, 10, 20, 30}, {MK::Move, 90, 90, 40}},
         "x down(10,20); x; x; "},
        {"a new press while a quick click's lift waits lifts first",
         {{MK::LeftDown, 10, 20, 0}, {MK::LeftUp, 10, 20, 30}, {MK::LeftDown, 50, 60, 50}},
         "x down(10,20); x; x up down(50,60); "},
        {"a press elsewhere while the lift waits lifts and stays a click",
         {{MK::LeftDown, 10, 20, 0}, {MK::LeftUp, 10, 20, 30},
          {MK::LeftDown, 50, 60, 50, false, false}, {MK::LeftUp, 50, 60, 60, false, false}},
         "x down(10,20); x; - up; -; "},
    };
    for (const Case& c : cases) {
        MouseFinger f;
        EXPECT_EQ(Feed(c.steps, f), c.expected) << c.what;
    }
}

TEST(MouseFinger, AQuickClicksLiftFallsDueAtTheMinimumTouchTime) {
    MouseFinger f;
    Feed({{MK::LeftDown, 10, 20, 1000}, {MK::LeftUp, 10, 20, 1010}}, f);
    EXPECT_TRUE(f.Touching());
    EXPECT_EQ(f.LiftDueMs(), 1000 + MouseFinger::kMinTouchMs);
    EXPECT_FALSE(f.LiftIfDue(1000 + MouseFinger::kMinTouchMs - 1));
    EXPECT_TRUE(f.LiftIfDue(1000 + MouseFinger::kMinTouchMs));
    EXPECT_FALSE(f.Touching());
    EXPECT_EQ(f.LiftDueMs(), 0u);
    EXPECT_FALSE(f.LiftIfDue(5000)) << "lifted twice";
    // The next press over the area is a new touch.
    EXPECT_EQ(Feed({{MK::LeftDown, 1, 2, 6000}}, f), "x down(1,2); ");
}

TEST(MarkerTracker, ShowsEachTouchUntilAWhileAfterItsLift) {
    auto sample = [](std::uint32_t touches, bool down, int x, int y) {
        return DriverSample{touches, down, false, x, y, 1024, 768};
    };
    MarkerTracker m;
    // A touch held before the marker started watching is shown; one that
    // ended before is not.
    EXPECT_FALSE(m.Follow(sample(3, false, 5, 5), 0).visible);
    EXPECT_EQ(m.Follow(sample(4, true, 100, 50), 10), (MarkerView{true, 100, 50}));
    EXPECT_EQ(m.Follow(sample(4, true, 120, 50), 20), (MarkerView{true, 120, 50}));
    const std::uint64_t lastSeenHeld = 20;
    EXPECT_EQ(m.Follow(sample(4, false, 120, 50), 30), (MarkerView{true, 120, 50}));
    EXPECT_TRUE(m.Follow(sample(4, false, 120, 50), lastSeenHeld + MarkerTracker::kLingerMs).visible);
    EXPECT_FALSE(m.Follow(sample(4, false, 120, 50), lastSeenHeld + MarkerTracker::kLingerMs + 1).visible)
        << "the marker outstays its lift";
    // A tap that began and ended between two polls still shows where it landed.
    EXPECT_EQ(m.Follow(sample(5, false, 300, 200), 5000), (MarkerView{true, 300, 200}));
}

}  // namespace
}  // namespace kv::bridge
