// Calibration under Wine: KVPANEL's calibration window against the
// stand-in driver, whose simulated panel the test touches at the centre of
// each mark as it appears (in screen pixels, through the panel's wiring
// and the display's rotation). What the driver holds afterwards, and where
// it maps a later touch, show whether the calibration is right.
#include <cmath>
#include <cstdlib>

#include "harness/input.h"
#include "panel_e2e_support.h"

namespace panel_e2e {
namespace {

constexpr const char* kAgentCaption = " P-RBF";
constexpr const char* kTargets[] = {"",    "TOP-LEFT", "TOP-RIGHT", "DOWN-RIGHT", "DOWN-LEFT",
                                    "TOP", "RIGHT",    "DOWN",      "LEFT"};

struct Point {
    int x, y;
};

// Centre of a mark on a surface of w x h pixels (the mark table).
Point MarkCentre(int target, int w, int h) {
    auto halfEven = [](double v) {
        const double f = std::floor(v);
        if (v - f != 0.5) return static_cast<int>(std::lround(v));
        return static_cast<int>(std::fmod(f, 2.0) == 0 ? f : f + 1);
    };
    const int cx = halfEven(w / 2.0 - 1), cy = halfEven(h / 2.0 - 1);
    const Point centres[] = {{0, 0},         {15, 15},      {w - 18, 15}, {w - 18, h - 18},
                             {15, h - 18},   {cx, 15},      {w - 18, cy}, {cx, h - 18},
                             {15, cy}};
    return centres[target];
}

class Calibration : public PanelE2e {
protected:
    void SetUp() override {
        PanelE2e::SetUp();
        screenW = GetSystemMetrics(SM_CXSCREEN);
        screenH = GetSystemMetrics(SM_CYSCREEN);
        ASSERT_TRUE(sim.SetScreen(screenW, screenH, true));
        SetCalibration({32, 511, 991, 32, 511, 991}, 0);
    }

    void TearDown() override {
        PanelE2e::TearDown();
        sim.PenUp();
        sim.SetWiring(0);
        sim.SetRotation(0);
        sim.SetRate(100);
        sim.SetScreen(1024, 768, true);
        SetCalibration({32, 511, 991, 32, 511, 991}, 0);
        e2e::WriteRegDword(HKEY_LOCAL_MACHINE, kProductKey, "CalibrationMode", 0);
        e2e::KillAllNamed("KVRBTN.exe");
    }

    void SetCalibration(const CalData& cal, std::uint8_t flags) {
        TouchParams p = DriverParams();
        p.Cal = cal;
        p.CalFlags = flags;
        EXPECT_TRUE(sim.Control(KV_IOCTL_SET_CALIBRATION, &p, sizeof p, &p, sizeof p));
    }

    // Starts the panel in `mode` and opens the calibration. The click is
    // posted: the whole calibration runs inside the button's click.
    HWND OpenCalibration(int mode) {
        e2e::WriteRegDword(HKEY_LOCAL_MACHINE, kProductKey, "CalibrationMode",
                           static_cast<DWORD>(mode));
        if (StartPanel() == nullptr) return nullptr;
        KvSimState state{};
        EXPECT_TRUE(sim.ReadState(state));
        logStart = state.LogNextSequence;  // what the calibration does from here
        PostMessageA(Control(main, "cmdCalibration"), BM_CLICK, 0, 0);
        form = e2e::WaitForForm("frmCalibration", panel.Id());
        EXPECT_NE(form, nullptr) << "no calibration window";
        if (form == nullptr) return nullptr;
        // The form's window comes first, its controls just after.
        e2e::WaitUntil([&] { return e2e::QueryControl(form, "lblHelp").found; });
        surface = Control(form, "picCalibration");
        EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(surface) != FALSE; }));
        return form;
    }

    bool WaitForPrompt(int target) {
        const std::string line = std::string("show on the ") + kTargets[target] + " of the screen";
        return e2e::WaitUntil([&] {
            return e2e::QueryControl(form, "lblMesg1").visible && Text(form, "lblMesg2") == line;
        });
    }

    // Screen pixel of a mark's centre, from the surface's real size.
    Point MarkOnScreen(int target) {
        RECT r;
        GetClientRect(surface, &r);
        const Point c = MarkCentre(target, r.right, r.bottom);
        POINT p{c.x, c.y};
        ClientToScreen(surface, &p);
        return {p.x, p.y};
    }

    void Tap(Point p, std::uint32_t holdMs = 120) {
        ASSERT_TRUE(sim.Touch(KVSIM_SPACE_SCREEN, p.x, p.y, holdMs)) << p.x << "," << p.y;
        ASSERT_TRUE(sim.WaitUntilLifted(5000));
    }

    // Taps the four marks of the mode as they appear.
    void TapMarks(int mode) {
        const int first = mode == 0 ? 1 : 5;
        for (int t = first; t < first + 4; ++t) {
            ASSERT_TRUE(WaitForPrompt(t)) << "no prompt for " << kTargets[t];
            if (t == first) SaveShot(form, mode == 0 ? "calibration-corner" : "calibration-edge");
            Tap(MarkOnScreen(t));
        }
    }

    std::optional<e2e::MessageBoxSeen> WaitForQuestion(const char* startsWith) {
        auto box = e2e::WaitForMessageBox(panel.Id());
        EXPECT_TRUE(box.has_value()) << "no question";
        if (box) {
            EXPECT_EQ(box->text.rfind(startsWith, 0), 0u) << box->text;
        }
        return box;
    }

    // Where the driver puts a touch at p, against where it was made.
    int MappingError(Point p) {
        sim.Touch(KVSIM_SPACE_SCREEN, p.x, p.y, 40);
        sim.WaitUntilLifted(5000);
        KvSimState s{};
        EXPECT_TRUE(sim.ReadState(s));
        return std::max(std::abs(s.MappedX - s.TouchScreenX), std::abs(s.MappedY - s.TouchScreenY));
    }

    int Signals(std::int32_t code) {
        int n = 0;
        for (const auto& e : DriverLog(KVSIM_LOG_CALIBRATION_SIGNAL))
            if (e.Args[0] == code) ++n;
        return n;
    }

    HWND FocusOfPanel() {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info);
        return info.hwndFocus;
    }

    // ESC as the keyboard delivers it: to the panel's focus window.
    void PressEscape() {
        HWND focus = FocusOfPanel();
        EXPECT_EQ(focus, surface) << "the keyboard is at " << e2e::DesignName(focus);
        PostMessageA(focus != nullptr ? focus : surface, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    }

    static std::array<int, 7> Held(const TouchParams& p) {
        return {p.Cal.LeftX, p.Cal.CenterX, p.Cal.RightX, p.Cal.TopY,
                p.Cal.CenterY, p.Cal.BottomY, p.CalFlags};
    }

    int screenW = 0, screenH = 0;
    HWND form = nullptr, surface = nullptr;
};

struct Arrangement {
    int mode;
    int wiring;
    int rotation;
    std::array<int, 6> cal;  // empty (all 0) when not worked out by hand
    int tolerance;           // pixels between a later touch and where the driver puts it
};

class FullCalibration : public Calibration {
protected:
    // One calibration from the main window's button to Yes; the panel ends
    // after it so that the next one starts afresh.
    void Run(const Arrangement& c) {
        SCOPED_TRACE(::testing::Message() << "mode " << c.mode << " wiring " << c.wiring
                                          << " rotation " << c.rotation);
        ASSERT_TRUE(sim.SetWiring(c.wiring));
        ASSERT_TRUE(sim.SetRotation(c.rotation));
        SetCalibration({32, 511, 991, 32, 511, 991}, 0);
        ASSERT_NE(OpenCalibration(c.mode), nullptr);
        TapMarks(c.mode);
        auto box = WaitForQuestion("CALIBRATION IS COMPLETE.");
        ASSERT_TRUE(box);
        EXPECT_EQ(box->caption, "TouchScreen Calibration");
        EXPECT_FALSE(IsWindowVisible(surface)) << "the grey window to try the calibration on";
        EXPECT_EQ(Signals(5), 4);

        // Before it is kept the new calibration is already in force.
        const Point probes[] = {{screenW / 2, screenH / 2}, {100, 80},
                                {screenW - 60, screenH - 40}, {40, screenH - 100}};
        for (const Point& p : probes) EXPECT_LE(MappingError(p), c.tolerance) << p.x << "," << p.y;
        e2e::PressBoxButton(box->window, IDYES);
        ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));

        const TouchParams p = DriverParams();
        EXPECT_EQ(p.CalFlags, c.wiring);
        if (c.cal != std::array<int, 6>{}) {
            const std::array<int, 7> held = Held(p);
            EXPECT_EQ((std::array<int, 6>{held[0], held[1], held[2], held[3], held[4], held[5]}),
                      c.cal);
        }
        EXPECT_LE(MappingError({screenW / 3, screenH / 4}), c.tolerance);
        panel.Kill();
        e2e::KillAllNamed("KVPANEL.exe");
    }
};

// Mark centres on 1024 x 768 lie at raw 46/975 (X) and 51/970 (Y), and at
// 511 for the middles: corners give 31, 510, 990 on both axes; edges give
// 30, 511, 990 and 30, 511, 991. Any wiring is undone by the flags, so the
// values stay.
TEST_F(FullCalibration, WiredAnyWayOnAStraightDisplay) {
    if (screenW != 1024 || screenH != 768) GTEST_SKIP() << "expected values are for 1024 x 768";
    for (const Arrangement& c : {Arrangement{0, 0, 0, {31, 510, 990, 31, 510, 990}, 2},
                                 Arrangement{1, 0, 0, {30, 511, 990, 30, 511, 991}, 2},
                                 Arrangement{0, 5, 0, {31, 510, 990, 31, 510, 990}, 2},
                                 Arrangement{1, 6, 0, {30, 511, 990, 30, 511, 991}, 2}})
        Run(c);
}

// Turned displays are judged by where touches land. Quarter turns land a
// few pixels off near the edges: the extrapolation divides the glass's X by
// the desktop's width.
TEST_F(FullCalibration, OnTurnedDisplays) {
    for (const Arrangement& c : {Arrangement{0, 3, 3, {}, 3}, Arrangement{1, 4, 3, {}, 3},
                                 Arrangement{0, 7, 1, {}, 8}, Arrangement{1, 1, 2, {}, 8}})
        Run(c);
}

// On a display scaled to 150 % the calibration window still covers every
// pixel of the screen, and a calibration tapped at the marks' pixel
// positions comes out as on an unscaled display (runs in the 144-DPI world).
class CalibrationAt144Dpi : public FullCalibration {
protected:
    void SetUp() override {
        if (e2e::WorldDpi() != 144) GTEST_SKIP() << "runs in the 144-DPI world only";
        FullCalibration::SetUp();
    }
};

TEST_F(CalibrationAt144Dpi, CoversTheScreenInPixelsAndCalibratesAsUnscaled) {
    if (screenW != 1024 || screenH != 768) GTEST_SKIP() << "expected values are for 1024 x 768";
    ASSERT_NE(OpenCalibration(0), nullptr);
    ASSERT_TRUE(WaitForPrompt(1)) << "no first mark";  // laid out by then
    RECT window, client;
    GetWindowRect(form, &window);
    GetClientRect(surface, &client);
    EXPECT_EQ(window.left, 0);
    EXPECT_EQ(window.top, 0);
    EXPECT_EQ(window.right, screenW);
    EXPECT_EQ(window.bottom, screenH);
    EXPECT_EQ(client.right, screenW);
    EXPECT_EQ(client.bottom, screenH);
    panel.Kill();
    e2e::KillAllNamed("KVPANEL.exe");
    Run(Arrangement{0, 0, 0, {31, 510, 990, 31, 510, 990}, 2});
}

TEST_F(Calibration, AnsweringNoPutsTheOldCalibrationBack) {
    SetCalibration({40, 500, 980, 44, 505, 970}, 2);
    ASSERT_NE(OpenCalibration(0), nullptr);
    TapMarks(0);
    auto box = WaitForQuestion("CALIBRATION IS COMPLETE.");
    ASSERT_TRUE(box);
    EXPECT_EQ(DriverParams().CalFlags, 0) << "the new calibration is tried first";
    e2e::PressBoxButton(box->window, IDNO);
    ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_EQ(Held(DriverParams()), (std::array<int, 7>{40, 500, 980, 44, 505, 970, 2}));
    int calibrations = 0;
    for (const auto& e : DriverLog(KVSIM_LOG_SET_REQUEST))
        if (e.Code == KV_IOCTL_SET_CALIBRATION) ++calibrations;
    EXPECT_EQ(calibrations, 2) << "the new calibration, then the old one";
}

TEST_F(Calibration, EscapeAnsweredNoGoesOnAndYesLeavesTheOldCalibration) {
    ASSERT_NE(OpenCalibration(0), nullptr);
    ASSERT_TRUE(WaitForPrompt(1));
    Tap(MarkOnScreen(1));
    ASSERT_TRUE(WaitForPrompt(2));

    PressEscape();
    auto box = WaitForQuestion("Are you sure you want to break calibration?");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "TouchScreen Calibration");
    EXPECT_FALSE(Query(form, "picMesg").visible) << "instructions hidden while asked";
    e2e::PressBoxButton(box->window, IDNO);
    ASSERT_TRUE(e2e::WaitUntil([&] { return Query(form, "picMesg").visible; }));
    ASSERT_TRUE(e2e::WaitUntil([&] { return FocusOfPanel() == surface; }))
        << "after No the keyboard is at " << e2e::DesignName(FocusOfPanel());

    PressEscape();  // the keyboard still reaches the surface
    box = WaitForQuestion("Are you sure you want to break calibration?");
    ASSERT_TRUE(box);
    e2e::PressBoxButton(box->window, IDYES);
    ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::FindForm("frmCalibration", panel.Id()) == nullptr; }));
    EXPECT_EQ(Held(DriverParams()), (std::array<int, 7>{32, 511, 991, 32, 511, 991, 0}));
    EXPECT_EQ(Signals(4), 1);
    EXPECT_EQ(Signals(0), 2) << "one per question";
    EXPECT_EQ(Signals(5), 1);
}

// While one of its boxes asks, the calibration window takes no input: a
// click on it leaves the box in front with the keyboard, so ESC, Enter or
// Alt+F4 reach the box alone. Under this Wine each of them answers both
// boxes (ESC and Alt+F4 a Yes/No box as Cancel, which keeps the new
// calibration as Yes does); never does a key ask a second question or
// close the window from under its box. The unsupported-mode box cannot be
// reached here: the panel corrects a stored mode it does not know.
enum class BoxCase { Completion, Direction };
struct UnderBox {
    BoxCase box;
    WORD key;
    bool alt;
};

class CalibrationBoxes : public Calibration, public ::testing::WithParamInterface<UnderBox> {};

TEST_P(CalibrationBoxes, TakeTheKeysAndLeaveTheWindowAlone) {
    const UnderBox c = GetParam();
    ASSERT_NE(OpenCalibration(0), nullptr);
    if (c.box == BoxCase::Completion) {
        TapMarks(0);
    } else {
        // Two marks on the same raw column: no wiring explains that.
        const Point raw[] = {{100, 60}, {100, 64}, {898, 700}, {104, 704}};
        for (int t = 1; t <= 4; ++t) {
            ASSERT_TRUE(WaitForPrompt(t));
            ASSERT_TRUE(sim.Touch(KVSIM_SPACE_RAW, raw[t - 1].x, raw[t - 1].y, 120));
            ASSERT_TRUE(sim.WaitUntilLifted(5000));
        }
    }
    auto box = WaitForQuestion(c.box == BoxCase::Completion ? "CALIBRATION IS COMPLETE."
                                                            : "Incorrect Panel Direction!");
    ASSERT_TRUE(box);
    const int idles = Signals(0);
    EXPECT_FALSE(IsWindowEnabled(form)) << "the box's owner is the calibration window";

    e2e::MouseClick(RECT{20, screenH - 60, 60, screenH - 20});
    Sleep(200);
    EXPECT_TRUE(IsWindowVisible(box->window));
    EXPECT_EQ(e2e::ActiveOf(form), box->window) << "the click brought the window over its box";

    e2e::PressKey(c.key, false, c.alt);
    ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }))
        << "the key did not answer the box";
    EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(form); })) << "the window outlived its box";
    EXPECT_FALSE(e2e::WaitForMessageBox(panel.Id(), 300).has_value()) << "a second box";
    EXPECT_EQ(Signals(0), idles) << "a question was asked under the box";
    if (c.box == BoxCase::Completion) {
        EXPECT_LE(MappingError({screenW / 2, screenH / 3}), 2) << "the new calibration is kept";
    } else {
        EXPECT_EQ(Held(DriverParams()), (std::array<int, 7>{32, 511, 991, 32, 511, 991, 0}));
        EXPECT_EQ(Signals(4), 1) << "the driver hears that the calibration ended";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryBox, CalibrationBoxes,
                         ::testing::Values(UnderBox{BoxCase::Completion, VK_RETURN, false},
                                           UnderBox{BoxCase::Completion, VK_ESCAPE, false},
                                           UnderBox{BoxCase::Completion, VK_F4, true},
                                           UnderBox{BoxCase::Direction, VK_RETURN, false},
                                           UnderBox{BoxCase::Direction, VK_ESCAPE, false},
                                           UnderBox{BoxCase::Direction, VK_F4, true}));

// Closing the window (Alt+F4) while it waits for a lift or a touch breaks
// off: the old calibration stays and the main window comes back.
TEST_F(Calibration, AltF4WhileWaitingBreaksOff) {
    for (bool penDownAtStart : {true, false}) {
        SCOPED_TRACE(penDownAtStart ? "start-lift wait" : "capture");
        if (penDownAtStart) {
            ASSERT_TRUE(sim.PenDown(KVSIM_SPACE_SCREEN, 500, 400));
        }
        ASSERT_NE(OpenCalibration(0), nullptr);
        if (penDownAtStart) {
            ASSERT_TRUE(e2e::WaitUntil([&] { return Signals(3) == 1; }));
        } else {
            ASSERT_TRUE(WaitForPrompt(1));
            Tap(MarkOnScreen(1));
            ASSERT_TRUE(WaitForPrompt(2));
        }
        e2e::PressKey(VK_F4, false, true);
        ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
        EXPECT_TRUE(e2e::WaitUntil(
            [&] { return e2e::FindForm("frmCalibration", panel.Id()) == nullptr; }));
        EXPECT_FALSE(e2e::WaitForMessageBox(panel.Id(), 300).has_value());
        EXPECT_EQ(Held(DriverParams()), (std::array<int, 7>{32, 511, 991, 32, 511, 991, 0}));
        EXPECT_EQ(Signals(4), penDownAtStart ? 0 : 1);
        ASSERT_TRUE(sim.PenUp());
        panel.Kill();
        e2e::KillAllNamed("KVPANEL.exe");
    }
}

TEST_F(Calibration, APenAlreadyDownIsAskedToLiftFirst) {
    ASSERT_TRUE(sim.PenDown(KVSIM_SPACE_SCREEN, 500, 400));
    ASSERT_NE(OpenCalibration(0), nullptr);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::QueryControl(form, "lblMesg3").visible; }));
    EXPECT_EQ(Text(form, "lblMesg3"), "PLEASE LIFT OFF TO START CALIBRATION!");
    EXPECT_FALSE(Query(form, "lblMesg1").visible);
    // The prompt shows before the signal goes to the driver.
    EXPECT_TRUE(e2e::WaitUntil([&] { return Signals(3) == 1; })) << Signals(3);
    ASSERT_TRUE(sim.PenUp());
    TapMarks(0);
    auto box = WaitForQuestion("CALIBRATION IS COMPLETE.");
    ASSERT_TRUE(box);
    e2e::PressBoxButton(box->window, IDYES);
    EXPECT_EQ(DriverParams().CalFlags, 0);
    EXPECT_LE(MappingError({screenW / 2, screenH / 3}), 2);
}

TEST_F(Calibration, TheRightButtonAgentHidesWhileCalibrating) {
    SetDriver([](TouchParams& p) {
        p.TouchMode = 1;
        p.RBFunction = 1;
    });
    e2e::Process agent = e2e::Process::Start(e2e::InstalledProgram("KVRBTN.exe"));
    HWND agentWindow = e2e::WaitForWindow(kAgentCaption, agent.Id());
    ASSERT_NE(agentWindow, nullptr);
    ASSERT_TRUE(e2e::WaitUntil([&] {
        KvSimState s{};
        return sim.ReadState(s) && s.Agent.AgentWindow != -1 && IsWindowVisible(agentWindow);
    }));
    ASSERT_NE(OpenCalibration(0), nullptr);
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(agentWindow) == FALSE; }));
    TapMarks(0);
    auto box = WaitForQuestion("CALIBRATION IS COMPLETE.");
    ASSERT_TRUE(box);
    EXPECT_FALSE(IsWindowVisible(agentWindow));
    e2e::PressBoxButton(box->window, IDYES);
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(agentWindow) != FALSE; }));
    agent.Kill();
}

}  // namespace
}  // namespace panel_e2e
