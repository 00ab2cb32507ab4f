// The pointer bridge: driver samples in, mouse input out. Each case is a
// sequence of polls and the input the desktop must have received by then.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/bridge/pointer_bridge.h"
#include "tests/unit/driver/driver_test_support.h"

namespace kv::bridge {
namespace {

using K = InputEvent::Kind;
constexpr Button L = Button::Left;
constexpr Button R = Button::Right;

DriverSample Up(std::uint32_t touches, int x, int y) { return {touches, false, false, x, y, 1024, 768}; }
DriverSample Down(std::uint32_t touches, int x, int y, bool right = false) {
    return {touches, true, right, x, y, 1024, 768};
}

std::string Show(const std::vector<InputEvent>& events) {
    std::string s;
    for (const auto& e : events) {
        s += e.kind == K::Move ? "move" : e.kind == K::Down ? "down" : "up";
        if (e.kind != K::Move) s += e.button == R ? "R" : "L";
        s += "(" + std::to_string(e.x) + "," + std::to_string(e.y) + ") ";
    }
    return s;
}

TEST(PointerBridge, TurnsDriverStateIntoTheInputARealDriverWouldGive) {
    struct Case {
        const char* what;
        std::vector<DriverSample> polls;
        std::string input;  // everything injected, in order
    };
    const std::vector<Case> cases = {
        {"idle driver: nothing", {Up(5, 10, 10), Up(5, 10, 10), Up(5, 40, 40)}, ""},
        {"a touch already held at start is pressed",
         {Down(3, 100, 200), Down(3, 100, 200)}, "move(100,200) downL(100,200) "},
        {"touches before the start are not replayed", {Up(9, 1, 1), Up(9, 1, 1)}, ""},
        {"press, slide, lift",
         {Up(0, 0, 0), Down(1, 100, 100), Down(1, 110, 105), Down(1, 110, 105), Up(1, 110, 105)},
         "move(100,100) downL(100,100) move(110,105) upL(110,105) "},
        {"lifted after a last slide the bridge did not see",
         {Up(0, 0, 0), Down(1, 100, 100), Up(1, 130, 100)},
         "move(100,100) downL(100,100) move(130,100) upL(130,100) "},
        {"a right-button touch presses the right button",
         {Up(0, 0, 0), Down(1, 50, 60, true), Up(1, 50, 60)},
         "move(50,60) downR(50,60) upR(50,60) "},
        {"a tap between two polls is still a click",
         {Up(0, 0, 0), Up(1, 300, 400)}, "move(300,400) downL(300,400) upL(300,400) "},
        {"lift and a new touch between two polls: up where it was, down at the new place",
         {Up(0, 0, 0), Down(1, 10, 10), Down(2, 500, 500)},
         "move(10,10) downL(10,10) upL(10,10) move(500,500) downL(500,500) "},
        {"at most a double tap is replayed", {Up(0, 0, 0), Up(7, 20, 30)},
         "move(20,30) downL(20,30) upL(20,30) downL(20,30) upL(20,30) "},
        {"the touch counter wraps", {Up(0xFFFFFFFFu, 0, 0), Down(0, 8, 9), Up(0, 8, 9)},
         "move(8,9) downL(8,9) upL(8,9) "},
    };
    for (const Case& c : cases) {
        PointerBridge bridge;
        std::vector<InputEvent> all;
        for (const auto& poll : c.polls) {
            auto events = bridge.Follow(poll);
            all.insert(all.end(), events.begin(), events.end());
        }
        EXPECT_EQ(Show(all), c.input) << c.what;
    }
}

TEST(PointerBridge, LettingGoReleasesTheHeldButtonOnlyOnce) {
    PointerBridge bridge;
    bridge.Follow(Up(0, 0, 0));
    bridge.Follow(Down(1, 70, 80, true));
    EXPECT_EQ(Show(bridge.LetGo()), "upR(70,80) ");
    EXPECT_EQ(Show(bridge.LetGo()), "");
    // The driver back with the same touch still held: pressed again.
    EXPECT_EQ(Show(bridge.Follow(Down(1, 70, 80))), "move(70,80) downL(70,80) ");
}

// The system turns an absolute coordinate back into a pixel as
// coordinate * pixels / 65536, rounded down; every pixel must survive.
TEST(PointerBridge, AbsoluteCoordinatesLandOnTheVeryPixel) {
    for (int pixels : {2, 3, 640, 768, 1023, 1024, 1280, 1920, 2160, 3840}) {
        for (int p = 0; p < pixels; ++p) {
            const int a = ToAbsolute(p, pixels);
            ASSERT_GE(a, 0);
            ASSERT_LE(a, 65535);
            ASSERT_EQ(static_cast<long long>(a) * pixels / 65536, p) << pixels << " pixels";
        }
        EXPECT_EQ(ToAbsolute(pixels - 1, pixels), 65535);
        EXPECT_EQ(ToAbsolute(pixels + 5, pixels), 65535) << "off the screen: its edge";
    }
}

// The driver's side: the small record the bridge polls.
using ReadPointer = kvtest::DriverTest;

TEST_F(ReadPointer, CountsTouchesAndMarksTheArmedOneAsRightButton) {
    auto read = [&] {
        KvSimPointer p{};
        std::uint32_t returned = 0;
        EXPECT_EQ(Send(KVSIM_IOCTL_READ_POINTER, &p, 0, sizeof p, &returned), KVD_STATUS_SUCCESS);
        EXPECT_EQ(returned, sizeof p);
        return p;
    };
    KvSimPointer p = read();
    EXPECT_EQ(p.Touches, 0u);
    EXPECT_EQ(p.PenDown, 0);
    EXPECT_EQ(p.ScreenWidth, 1024);
    EXPECT_EQ(p.ScreenHeight, 768);

    // The straight default calibration maps a screen point back onto itself.
    ASSERT_EQ(SendPrivate(KVSIM_IOCTL_PEN, KvSimPen{KVSIM_PEN_DOWN, KVSIM_SPACE_SCREEN, 300, 200}),
              KVD_STATUS_SUCCESS);
    p = read();
    EXPECT_EQ(p.Touches, 1u);
    EXPECT_EQ(p.PenDown, 1);
    EXPECT_EQ(p.RightButton, 0);
    EXPECT_NEAR(p.MappedX, 300, 1);
    EXPECT_NEAR(p.MappedY, 200, 1);
    SendPrivate(KVSIM_IOCTL_PEN, KvSimPen{KVSIM_PEN_UP, 0, 0, 0});
    EXPECT_EQ(read().PenDown, 0);

    AgentRegistration armed{1234, 1, {0, 0}};
    ASSERT_EQ(Exchange(KV_IOCTL_SET_AGENT_WINDOW, armed), KVD_STATUS_SUCCESS);
    SendPrivate(KVSIM_IOCTL_PEN, KvSimPen{KVSIM_PEN_DOWN, KVSIM_SPACE_RAW, 500, 500});
    p = read();
    EXPECT_EQ(p.Touches, 2u);
    EXPECT_EQ(p.RightButton, 1);
    SendPrivate(KVSIM_IOCTL_PEN, KvSimPen{KVSIM_PEN_DOWN, KVSIM_SPACE_RAW, 500, 500});
    EXPECT_EQ(read().RightButton, 0) << "only the armed touch is a right-button touch";

    KvSimPointer small{};
    EXPECT_EQ(Send(KVSIM_IOCTL_READ_POINTER, &small, 0, sizeof small - 1),
              KVD_STATUS_BUFFER_TOO_SMALL);
}

}  // namespace
}  // namespace kv::bridge
