// The draw test under Wine: opened by the right button with Shift, Ctrl
// and Alt on "E&xit" (real input), the driver's touch mode borrowed and
// given back, also after a message box took the focus; and, with the
// pointer bridge running, simulated touches that draw on the page.
#include <vector>

#include "harness/input.h"
#include "panel_e2e_support.h"

namespace panel_e2e {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhitePage = RGB(255, 255, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);

INPUT Key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}


POINT CentreOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// What the screen shows at a point. (A window DC of another program reads
// nothing under Wine: its pixels live in that program; the screen has them.)
COLORREF ScreenPixel(POINT p) {
    HDC dc = GetDC(nullptr);
    const COLORREF c = GetPixel(dc, p.x, p.y);
    ReleaseDC(nullptr, dc);
    return c;
}

// ... and at a client point of `window`.
COLORREF PixelOf(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return ScreenPixel(p);
}

DWORD WINAPI ShowBox(void*) {
    MessageBoxA(nullptr, "Another program wants a word.", "Interruption",
                MB_OK | MB_SETFOREGROUND | MB_TOPMOST);
    return 0;
}

class DrawTest : public PanelE2e {
protected:
    void SetUp() override {
        PanelE2e::SetUp();
        e2e::KillAllNamed("kvbridge.exe");
    }
    void TearDown() override {
        bridge.Kill();
        e2e::KillAllNamed("kvbridge.exe");
        sim.Control(KVSIM_IOCTL_PEN, &kLift, sizeof kLift, nullptr, 0);
        PanelE2e::TearDown();
    }

    bool Foreground(HWND window) {
        SetForegroundWindow(window);
        return e2e::WaitUntil([&] { return GetForegroundWindow() == window; });
    }

    // The user's way in: Shift, Alt and Ctrl held, the right button on
    // "E&xit". (Ctrl goes down after Alt, so letting go of Alt opens no
    // menu.)
    HWND OpenByGesture() {
        KvSimState state{};
        EXPECT_TRUE(sim.ReadState(state));
        logStart = state.LogNextSequence;  // the test's own requests from here on
        EXPECT_TRUE(Foreground(main)) << "the main window did not take the foreground";
        const POINT at = CentreOf(Control(main, "cmdExit"));
        // The pointer first, and only once it is over the button the press:
        // under X11 a move and a press sent together may reach the window
        // before the move has been taken.
        INPUT move = e2e::AbsoluteMouse(at.x, at.y, 0);
        SendInput(1, &move, sizeof(INPUT));
        EXPECT_TRUE(e2e::WaitUntil([&] {
            POINT p;
            return GetCursorPos(&p) && p.x == at.x && p.y == at.y;
        })) << "the pointer did not reach E&xit";
        std::vector<INPUT> inputs = {Key(VK_SHIFT, false), Key(VK_MENU, false),
                                     Key(VK_CONTROL, false),
                                     e2e::AbsoluteMouse(at.x, at.y, MOUSEEVENTF_RIGHTDOWN),
                                     e2e::AbsoluteMouse(at.x, at.y, MOUSEEVENTF_RIGHTUP),
                                     Key(VK_CONTROL, true), Key(VK_MENU, true),
                                     Key(VK_SHIFT, true)};
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        HWND test = e2e::WaitForForm("frmTest", panel.Id());
        EXPECT_NE(test, nullptr) << "the gesture did not open the draw test";
        if (test == nullptr) return nullptr;
        EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(test) != FALSE; }));
        EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) == FALSE; }));
        return test;
    }

    std::vector<int> TouchModesSent() {
        std::vector<int> modes;
        for (const auto& e : DriverLog(KVSIM_LOG_SET_REQUEST))
            if (e.Code == KV_IOCTL_SET_TOUCH_MODE) modes.push_back(e.Args[0]);
        return modes;
    }

    void ExitTest(HWND test) {
        e2e::Click(Control(test, "cmdExit"));
        EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }))
            << "the main window did not come back";
        EXPECT_FALSE(IsWindow(test) && IsWindowVisible(test));
    }

    static constexpr KvSimPen kLift{KVSIM_PEN_UP, 0, 0, 0};
    e2e::Process bridge;
};

TEST_F(DrawTest, GestureOpensItFullScreenInDragDropAndExitGivesTheModeBack) {
    SetDriver([](TouchParams& p) { p.TouchMode = 2; });
    ASSERT_NE(StartPanel(), nullptr);
    HWND test = OpenByGesture();
    ASSERT_NE(test, nullptr);
    RECT r;
    GetWindowRect(test, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(Text(test, "lblTitle"), "TouchScreen Test");
    EXPECT_EQ(Text(test, "cmdClear"), "&Clear");
    EXPECT_EQ(Text(test, "cmdExit"), "E&xit Test");
    EXPECT_EQ(Text(test, "lblWidth(0)"), " 1 ");
    EXPECT_EQ(Text(test, "lblButton(2)"), "R");
    EXPECT_EQ(DriverParams().TouchMode, 4);

    ExitTest(test);
    EXPECT_EQ(DriverParams().TouchMode, 2);
    EXPECT_EQ(TouchModesSent(), (std::vector<int>{4, 2}));
}

TEST_F(DrawTest, TouchModeComesBackAfterAMessageBoxTookTheFocus) {
    SetDriver([](TouchParams& p) { p.TouchMode = 3; });
    ASSERT_NE(StartPanel(), nullptr);
    HWND test = OpenByGesture();
    ASSERT_NE(test, nullptr);

    HANDLE thread = CreateThread(nullptr, 0, ShowBox, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    auto box = e2e::WaitForMessageBox(GetCurrentProcessId());
    ASSERT_TRUE(box.has_value()) << "the interrupting box did not show";
    EXPECT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == box->window; }));
    e2e::PressBoxButton(box->window, IDOK);
    EXPECT_EQ(WaitForSingleObject(thread, e2e::kDefaultTimeoutMs), WAIT_OBJECT_0);
    CloseHandle(thread);
    ASSERT_TRUE(Foreground(test)) << "the draw test did not get the focus back";
    EXPECT_EQ(DriverParams().TouchMode, 4);

    ExitTest(test);
    EXPECT_EQ(DriverParams().TouchMode, 3) << "the user's touch mode was lost";
    const std::vector<int> modes = TouchModesSent();
    ASSERT_FALSE(modes.empty());
    EXPECT_EQ(modes.back(), 3);
}

TEST_F(DrawTest, SimulatedStrokeThroughTheBridgeLeavesThePenColourOnThePage) {
    // Wine's null display driver keeps no pixels of other programs'
    // windows; scripts/run-e2e-x11.sh runs this case again under Xvfb.
    if (e2e::ReadRegString(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", "Graphics") ==
        std::optional<std::string>("null"))
        GTEST_SKIP() << "no pixels to read on the null display";
    ASSERT_NE(StartPanel(), nullptr);
    bridge = e2e::Process::Start(e2e::InstalledProgram("kvbridge.exe"));
    ASSERT_NE(bridge.Id(), 0u) << "kvbridge.exe did not start";
    HWND test = OpenByGesture();
    ASSERT_NE(test, nullptr);
    PressAndRelease(test, "lblColor(1)");  // red
    PressAndRelease(test, "lblWidth(3)");  // 4 pixels
    HWND page = Control(test, "picHome");
    ASSERT_NE(page, nullptr);

    // A horizontal stroke across the middle of the page, in screen pixels
    // (the default calibration maps the simulated panel straight on).
    RECT pageRect;
    GetWindowRect(page, &pageRect);
    const int y = (pageRect.top + pageRect.bottom) / 2;
    const int x0 = pageRect.left + 100;
    std::vector<KvSimStrokePoint> points;
    for (int x = x0; x <= x0 + 400; x += 20)
        points.push_back({x, y, 25});
    POINT start{x0, y};
    ScreenToClient(page, &start);
    // The page is read off the screen, which shows it only once it is painted.
    EXPECT_TRUE(e2e::WaitUntil([&] { return PixelOf(page, start.x + 200, start.y) == kWhitePage; }))
        << "the page is not blank";

    ASSERT_TRUE(sim.Stroke(KVSIM_SPACE_SCREEN, points));
    ASSERT_TRUE(sim.WaitUntilLifted(e2e::kDefaultTimeoutMs));
    auto redAlongTheStroke = [&] {
        for (int dx = 0; dx <= 400; dx += 5)
            if (PixelOf(page, start.x + dx, start.y) != kRed) return false;
        return true;
    };
    EXPECT_TRUE(e2e::WaitUntil(redAlongTheStroke)) << "the stroke is not red from end to end";
    // A 4-pixel pen: a pixel off the line is red too, three off is not.
    EXPECT_EQ(PixelOf(page, start.x + 200, start.y + 1), kRed);
    EXPECT_EQ(PixelOf(page, start.x + 200, start.y + 4), kWhitePage);
    SaveShot(test, "draw-test");

    // An armed touch is a right-button touch: "R" lights up while held.
    const RECT letterR = Query(test, "lblButton(2)").screen;
    const POINT inR{letterR.left + 1, letterR.top + 1};
    AgentRegistration armed{-1, 1, {0, 0}};
    ASSERT_TRUE(sim.Control(KV_IOCTL_SET_AGENT_WINDOW, &armed, sizeof armed, &armed, sizeof armed));
    ASSERT_TRUE(sim.PenDown(KVSIM_SPACE_SCREEN, x0 + 200, y + 100));
    EXPECT_TRUE(e2e::WaitUntil([&] { return ScreenPixel(inR) == kYellow; }))
        << "the right-button letter is not lit";
    ASSERT_TRUE(sim.PenUp());
    EXPECT_TRUE(e2e::WaitUntil([&] { return ScreenPixel(inR) != kYellow; }));

    e2e::Click(Control(test, "cmdClear"));
    EXPECT_TRUE(e2e::WaitUntil([&] { return PixelOf(page, start.x + 200, start.y) == kWhitePage; }))
        << "Clear left the stroke";
    ExitTest(test);
}

}  // namespace
}  // namespace panel_e2e
