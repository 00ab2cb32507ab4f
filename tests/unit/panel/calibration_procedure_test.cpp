// frmCalibration and the procedure on it, against the stand-in driver's
// core: the script below plays the user, touching each mark as its prompt
// appears (at raw points it is given), pressing ESC at a chosen waiting
// point and answering the boxes.
#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>

#include "common/winutil/companions.h"
#include "panel/calibration_procedure.h"
#include "tests/unit/panel/panel_fixture.h"

namespace kv::panel::test {
namespace {

enum class Wait { None, StartLift, TouchPrompt, NextLift };

class CalibrationTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        device.SetAdvancePerRequest(1);
        ui::Headless().SetDoEventsHook([this] { Script(); });
        // While any box asks, the user presses ESC and Enter on the
        // calibration window: only the box may answer them.
        desktop.whileBoxIsUp = [this](const FakeDesktop::MessageBoxCall& box) {
            boxes.push_back({box.owner, Screen().Loaded() ? Screen().Handle() : -1,
                             desktop.cursorCount >= 0});
            if (!Screen().Loaded()) return;
            for (int key : {ui::kKeyEscape, ui::kKeyReturn}) {
                Ctl("picCalibration").UserKeyDown(key, 0);
                Screen().UserKeyDown(key, 0);
            }
        };
    }

    struct BoxSeen {
        WindowHandle owner, calibrationWindow;
        bool cursorShown;
    };
    // Every box belongs to the calibration window and shows the cursor.
    void ExpectBoxesOwnedWithCursor() {
        for (const BoxSeen& b : boxes) {
            EXPECT_NE(b.owner, 0);
            EXPECT_EQ(b.owner, b.calibrationWindow);
            EXPECT_TRUE(b.cursorShown);
        }
    }

    ui::Form& Screen() { return program->Calibration(); }
    ui::Control& Ctl(const char* name) { return Screen().Ctl(name); }
    CalibrationProcedure& Procedure() { return program->CalibrationRun(); }

    // Opens the calibration as the main window's button does; the whole
    // procedure runs inside the click.
    void Calibrate() {
        device.ClearRequests();
        logStart = device.Driver().log.next_sequence;
        MainCtl("cmdCalibration").UserClick();
    }

    Wait CurrentWait() {
        if (!Screen().Loaded() || !Ctl("picCalibration").Visible()) return Wait::None;
        if (Ctl("lblMesg1").Visible()) return Wait::TouchPrompt;
        const std::string& lift = Ctl("lblMesg3").Caption();
        if (!Ctl("lblMesg3").Visible()) return Wait::None;
        return lift.ends_with(kStartText) ? Wait::StartLift : Wait::NextLift;
    }

    int PromptedTarget() {
        const std::string& line = Ctl("lblMesg2").Caption();
        for (int i = 1; i <= 8; ++i)
            if (line == std::string("show on the ") + TargetName(i) + " of the screen") return i;
        return 0;
    }

    bool PenIsDown() {
        TouchState s{};
        kvt_touch_state(&device.Driver().touch, device.Now(), &s);
        return (s.Status & KV_STATUS_PEN_DOWN) != 0;
    }

    // The user: ESC once at `escapeAt` (answered from the desktop's
    // queue), a lift when the start prompt asks for it, a tap on each
    // prompted target that has a raw point.
    void Script() {
        if (++doEvents > 200000) throw std::runtime_error("the procedure waits for ever");
        const Wait wait = CurrentWait();
        if (wait == Wait::TouchPrompt && desktop.cursorCount >= 0) cursorShownOverMark = true;
        if (onWait) onWait(wait);
        if (wait == escapeAt && escapes < escapeCount) {
            ++escapes;
            focusBeforeEscape = FocusedName();
            Ctl("picCalibration").UserKeyDown(ui::kKeyEscape, 0);
            focusAfterEscape = FocusedName();
            return;
        }
        if (wait == Wait::StartLift && PenIsDown()) device.PenUp();
        if (wait == Wait::TouchPrompt && !PenIsDown()) {
            const int target = PromptedTarget();
            if (target == lastTapped || raw.count(target) == 0) return;
            lastTapped = target;
            device.Tap(raw[target].first, raw[target].second, 50);
        }
    }

    std::string FocusedName() {
        auto* peer = dynamic_cast<ui::HeadlessPeer*>(Screen().Peer());
        return peer != nullptr && peer->Focus() != nullptr ? peer->Focus()->Name() : "";
    }

    std::vector<int> Signals() {
        std::vector<int> codes;
        for (const auto& e : device.Log(logStart))
            if (e.Kind == KVSIM_LOG_CALIBRATION_SIGNAL) codes.push_back(e.Args[0]);
        return codes;
    }

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& b : desktop.messageBoxes) texts.push_back(b.text);
        return texts;
    }

    void UseWorkedExample() {
        raw = {{1, {100, 60}}, {2, {902, 64}}, {3, {898, 700}}, {4, {104, 704}},
               {5, {511, 51}}, {6, {975, 511}}, {7, {511, 970}}, {8, {46, 511}}};
    }

    static std::array<int, 7> Calibration(const TouchParams& p) {
        return {p.Cal.LeftX, p.Cal.CenterX, p.Cal.RightX, p.Cal.TopY,
                p.Cal.CenterY, p.Cal.BottomY, p.CalFlags};
    }

    std::map<int, std::pair<int, int>> raw;
    std::function<void(Wait)> onWait;
    Wait escapeAt = Wait::None;
    int escapeCount = 1;
    int escapes = 0;
    int lastTapped = 0;
    int doEvents = 0;
    std::uint32_t logStart = 0;
    std::string focusBeforeEscape, focusAfterEscape;
    std::vector<BoxSeen> boxes;
    bool cursorShownOverMark = false;
};

const std::array<int, 7> kOld{32, 511, 991, 32, 511, 991, 0};
const std::array<int, 7> kWorkedCorners{89, 501, 913, 48, 382, 716, 0};
const std::array<int, 7> kWorkedEdges{30, 511, 990, 30, 511, 991, 0};

template <class Case>
class CalibrationCase : public CalibrationTest, public ::testing::WithParamInterface<Case> {};

struct Completion {
    int mode;
    int answer;
    std::array<int, 7> held;
};
using CompletionTest = CalibrationCase<Completion>;

TEST_P(CompletionTest, KeepsTheNewCalibrationOnYesAndPutsTheOldOneBackOnNo) {
    const Completion& c = GetParam();
    registry.SetDword(kHkeyLocalMachine, kProductKey, "CalibrationMode",
                      static_cast<std::uint32_t>(c.mode));
    StartShown();
    UseWorkedExample();
    desktop.messageBoxAnswers = {c.answer};
    Calibrate();

    EXPECT_EQ(Calibration(Driver()), c.held);
    ASSERT_EQ(BoxTexts(), std::vector<std::string>{
                              "CALIBRATION IS COMPLETE.\r\rFor test, touch on the screen and "
                              "check cursor position.\rTo save new calibration, click Yes "
                              "button.\rTo restore old calibration, click No button."});
    EXPECT_EQ(desktop.messageBoxes[0].caption, "TouchScreen Calibration");
    EXPECT_EQ(desktop.messageBoxes[0].flags, 0x1024u);  // Yes/No, question, first default
    EXPECT_EQ(Signals(), (std::vector<int>{5, 5, 5, 5, 0}));
    ExpectBoxesOwnedWithCursor();
    EXPECT_FALSE(cursorShownOverMark);
    EXPECT_EQ(Sent(KV_IOCTL_SET_CALIBRATION), c.answer == kIdYes ? 1u : 2u);
    EXPECT_EQ(ui::Headless().ScreenMousePointer(), ui::kPointerDefault);
    EXPECT_FALSE(Screen().Loaded());
    EXPECT_TRUE(Main().Visible());
    EXPECT_GE(desktop.cursorCount, 0) << "the cursor is shown again";
}

INSTANTIATE_TEST_SUITE_P(BothModes, CompletionTest,
                         ::testing::Values(Completion{0, kIdYes, kWorkedCorners},
                                           Completion{0, kIdNo, kOld},
                                           Completion{1, kIdYes, kWorkedEdges},
                                           Completion{1, kIdNo, kOld}));

TEST_F(CalibrationTest, AMovingFingerIsNeverAcceptedAndAStillOneAfterTwoReports) {
    StartShown();
    // A stroke over TOP-LEFT that reaches a new point with every report
    // (100 reports a second), then rests: only the resting point counts.
    raw = {{2, {902, 64}}, {3, {898, 700}}, {4, {104, 704}}};
    std::uint64_t restStart = 0;
    onWait = [&](Wait wait) {
        if (wait != Wait::TouchPrompt || PromptedTarget() != 1 || lastTapped != 0) return;
        lastTapped = 1;
        KvSimStroke stroke{};
        stroke.Space = KVSIM_SPACE_RAW;
        stroke.PointCount = 101;
        for (int k = 0; k < 100; ++k)
            stroke.Points[k] = {90 + k % 7, 50 + k % 5, 10};
        stroke.Points[100] = {100, 60, 200};
        device.Private(KVSIM_IOCTL_STROKE, &stroke, sizeof stroke, 0);
        restStart = kvd_time(&device.Driver(), device.Now()) + 1000;
    };
    desktop.messageBoxAnswers = {kIdYes};
    Calibrate();

    EXPECT_EQ(Procedure().Samples().x[1], 100);
    EXPECT_EQ(Procedure().Samples().y[1], 60);
    std::vector<std::uint32_t> accepted;
    for (const auto& e : device.Log(logStart))
        if (e.Kind == KVSIM_LOG_CALIBRATION_SIGNAL && e.Args[0] == kSignalAccepted)
            accepted.push_back(e.TimeMs);
    ASSERT_EQ(accepted.size(), 4u);
    // The resting point reports at its start and 10 ms later: accepted at
    // the second of those reports, not before.
    EXPECT_GE(accepted[0], restStart + 10);
    EXPECT_LE(accepted[0], restStart + 12);
    EXPECT_EQ(Calibration(Driver()), kWorkedCorners);
}

TEST_F(CalibrationTest, APenDownAtTheStartIsAskedToLiftFirst) {
    StartShown();
    UseWorkedExample();
    device.PenDown(500, 500);
    bool sawLiftPrompt = false;
    onWait = [&](Wait wait) {
        if (wait != Wait::StartLift || sawLiftPrompt) return;
        sawLiftPrompt = true;
        EXPECT_EQ(Ctl("lblMesg3").Caption(), "PLEASE LIFT OFF TO START CALIBRATION!");
        EXPECT_FALSE(Ctl("lblMesg1").Visible());
        EXPECT_EQ(Ctl("picStat").BackColor(), CalibrationScreen::kTouched);
        auto* peer = dynamic_cast<ui::HeadlessPeer*>(Screen().Peer());
        EXPECT_TRUE(peer->Drawing(Ctl("picCalibration")).empty()) << "a mark before the lift";
    };
    desktop.messageBoxAnswers = {kIdYes};
    Calibrate();
    EXPECT_TRUE(sawLiftPrompt);
    EXPECT_EQ(Signals(), (std::vector<int>{3, 5, 5, 5, 5, 0}));
    EXPECT_EQ(Calibration(Driver()), kWorkedCorners);
}

struct Escape {
    Wait at;
    int answer;
    bool broken;  // the old calibration stays, signal 4 ends it
};
using EscapeTest = CalibrationCase<Escape>;

TEST_P(EscapeTest, AsksAndBreaksOffOnlyOnYes) {
    const Escape& c = GetParam();
    StartShown();
    UseWorkedExample();
    if (c.at == Wait::StartLift) device.PenDown(500, 500);
    escapeAt = c.at;
    desktop.messageBoxAnswers = {c.answer, kIdYes};
    Calibrate();

    ASSERT_EQ(escapes, 1);
    ASSERT_GE(desktop.messageBoxes.size(), 1u);
    EXPECT_EQ(desktop.messageBoxes[0].text, "Are you sure you want to break calibration?");
    EXPECT_EQ(desktop.messageBoxes[0].caption, "TouchScreen Calibration");
    EXPECT_EQ(desktop.messageBoxes[0].flags, 0x1124u) << "second button default";
    EXPECT_EQ(focusAfterEscape, "picCalibration") << "the surface takes the keyboard back";
    const std::vector<int> signals = Signals();
    ASSERT_FALSE(signals.empty());
    // Signal 0 opens the question; at the start it follows the lift signal.
    EXPECT_EQ(signals[c.at == Wait::StartLift ? 1 : (c.at == Wait::NextLift ? 1 : 0)], kSignalIdle);
    if (c.broken) {
        EXPECT_EQ(Calibration(Driver()), kOld);
        EXPECT_EQ(Sent(KV_IOCTL_SET_CALIBRATION), 0u);
        EXPECT_EQ(signals.back(), kSignalBroken);
        EXPECT_EQ(desktop.messageBoxes.size(), 1u) << "no completion question";
    } else {
        EXPECT_EQ(Calibration(Driver()), kWorkedCorners);
        EXPECT_EQ(std::count(signals.begin(), signals.end(), kSignalBroken), 0);
        EXPECT_EQ(std::count(signals.begin(), signals.end(), kSignalAccepted), 4);
        EXPECT_EQ(std::count(signals.begin(), signals.end(), kSignalIdle), 2);
    }
    ExpectBoxesOwnedWithCursor();
    EXPECT_FALSE(cursorShownOverMark) << "the cursor stays hidden once the question is answered";
    EXPECT_FALSE(Screen().Loaded());
    EXPECT_GE(desktop.cursorCount, 0);
}

// A break confirmed while waiting for the first lift is cleared before the
// first mark, so the calibration still runs.
INSTANTIATE_TEST_SUITE_P(EveryWaitingPoint, EscapeTest,
                         ::testing::Values(Escape{Wait::StartLift, kIdNo, false},
                                           Escape{Wait::StartLift, kIdYes, false},
                                           Escape{Wait::TouchPrompt, kIdNo, false},
                                           Escape{Wait::TouchPrompt, kIdYes, true},
                                           Escape{Wait::NextLift, kIdNo, false},
                                           Escape{Wait::NextLift, kIdYes, true}));

struct Redraw {
    Wait at;
    int redOutlines;  // TOP-LEFT outlines drawn red before the next target
};
using EscapeRedrawTest = CalibrationCase<Redraw>;

TEST_P(EscapeRedrawTest, RedrawsOnlyAMarkThatWasShowing) {
    const Redraw& c = GetParam();
    StartShown();
    UseWorkedExample();
    raw.erase(2);  // stop at the second target and look at the first mark
    escapeAt = c.at;
    std::vector<ui::DrawOp> drawing;
    onWait = [&](Wait wait) {
        if (wait != Wait::TouchPrompt || PromptedTarget() != 2 || !drawing.empty()) return;
        auto* peer = dynamic_cast<ui::HeadlessPeer*>(Screen().Peer());
        drawing = peer->Drawing(Ctl("picCalibration"));
        escapeAt = Wait::TouchPrompt;  // then break off
        escapeCount = 2;
    };
    desktop.messageBoxAnswers = {kIdNo, kIdYes};
    Calibrate();
    ASSERT_FALSE(drawing.empty());
    int red = 0;
    ui::Color last = 0x123456;
    for (const ui::DrawOp& op : drawing) {
        if (op.kind != ui::DrawOp::Kind::Box || op.x1 != 0 || op.y1 != 0) continue;
        last = op.color;
        if (op.color == CalibrationScreen::kMarkOutline) ++red;
    }
    EXPECT_EQ(red, c.redOutlines);
    EXPECT_EQ(last, CalibrationScreen::kErased) << "an accepted mark stays erased";
}

INSTANTIATE_TEST_SUITE_P(
    BeforeAndAfterAcceptance, EscapeRedrawTest,
    ::testing::Values(Redraw{Wait::TouchPrompt, 2}, Redraw{Wait::NextLift, 1}));

// A calibration broken off with the TOP-RIGHT mark on screen; the next
// opening starts on a clean surface, and an ESC answered No before its
// first mark must not bring that old mark back.
TEST_F(CalibrationTest, AMarkOfABrokenOffOpeningNeverComesBackInTheNext) {
    StartShown();
    raw = {{1, {100, 60}}};
    onWait = [&](Wait wait) {
        if (wait == Wait::TouchPrompt && PromptedTarget() == 2) escapeAt = Wait::TouchPrompt;
    };
    desktop.messageBoxAnswers = {kIdYes};
    Calibrate();
    ASSERT_EQ(escapes, 1);
    ASSERT_FALSE(Screen().Loaded());

    UseWorkedExample();
    escapes = 0;
    lastTapped = 0;
    escapeAt = Wait::StartLift;
    device.PenDown(500, 500);
    std::vector<ui::DrawOp> drawing;
    onWait = [&](Wait wait) {
        if (wait != Wait::TouchPrompt || PromptedTarget() != 1 || !drawing.empty()) return;
        drawing = dynamic_cast<ui::HeadlessPeer*>(Screen().Peer())->Drawing(Ctl("picCalibration"));
    };
    desktop.messageBoxAnswers = {kIdNo, kIdYes};
    Calibrate();
    ASSERT_EQ(escapes, 1);
    ASSERT_FALSE(drawing.empty());
    for (const ui::DrawOp& op : drawing)
        EXPECT_FALSE(op.kind == ui::DrawOp::Kind::Box && op.x1 != 0 &&
                     op.color == CalibrationScreen::kMarkOutline)
            << "a red outline at " << op.x1 << "," << op.y1 << " besides TOP-LEFT's";
    EXPECT_EQ(Calibration(Driver()), kWorkedCorners);
}

struct Refusal {
    const char* name;
    int mode;
    std::map<int, std::pair<int, int>> raw;
    std::string box, caption;
    unsigned flags;
    int beeps;
    std::vector<int> signals;
};
using RefusalTest = CalibrationCase<Refusal>;

TEST_P(RefusalTest, LeavesTheOldCalibration) {
    const Refusal& c = GetParam();
    StartShown();
    program->Context().product.CalibrationMode = c.mode;
    raw = c.raw;
    Calibrate();
    ASSERT_EQ(desktop.messageBoxes.size(), 1u);
    EXPECT_EQ(desktop.messageBoxes[0].text, c.box);
    EXPECT_EQ(desktop.messageBoxes[0].caption, c.caption);
    EXPECT_EQ(desktop.messageBoxes[0].flags, c.flags);
    EXPECT_EQ(desktop.beeps, c.beeps);
    EXPECT_EQ(Signals(), c.signals);
    ExpectBoxesOwnedWithCursor();
    EXPECT_EQ(Sent(KV_IOCTL_SET_CALIBRATION), 0u);
    EXPECT_EQ(Calibration(Driver()), kOld);
    EXPECT_FALSE(Screen().Loaded());
    EXPECT_GE(desktop.cursorCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    WiringAndMode, RefusalTest,
    ::testing::Values(
        Refusal{"unknown wiring",
                0,
                {{1, {100, 60}}, {2, {100, 64}}, {3, {898, 700}}, {4, {104, 704}}},
                "Incorrect Panel Direction! (00001101-00001110)\r\n\r\nPlease checkout the "
                "pinout of your touch panel.",
                "Touchscreen Calibration",
                0x1010u,
                1,
                {5, 5, 5, 5, 4}},
        Refusal{"unsupported mode", 2, {}, "Fail to calibration! ( mode 2 not support )",
                " TouchScreen Control Panel #KV-PS2", 0u, 0, {}}));

// A driver that does not know the screen's size leaves the arithmetic
// the surface's size in pixels: on this 1024 x 768 screen the result is
// the one a driver told that size gives.
TEST_F(CalibrationTest, AnUnknownScreenSizeFallsBackToTheSurfacesPixels) {
    Driver().ScreenWidth = 0;
    Driver().ScreenHeight = -1;
    StartShown();
    UseWorkedExample();
    desktop.messageBoxAnswers = {kIdYes};
    Calibrate();
    EXPECT_EQ(Calibration(Driver()), kWorkedCorners);
}

TEST_F(CalibrationTest, ARotationOutsideTheFourCodesCountsAsNone) {
    StartShown();
    UseWorkedExample();
    device.Driver().panel.rotation = 9;
    desktop.messageBoxAnswers = {kIdYes};
    Calibrate();
    EXPECT_EQ(Procedure().Rotation(), 0);
    EXPECT_EQ(program->Context().device.Rotator.Rotation, 0);
    EXPECT_EQ(Calibration(Driver()), kWorkedCorners);
}

struct RightButton {
    const char* name;
    int touchMode, rbFunction, autoMode;
    bool agentRegistered;
    std::vector<int> autoModesSent;     // RBAutoMode of each SetTouchMode
    std::vector<std::uintptr_t> sends;  // commands to the agent
};
using RightButtonTest = CalibrationCase<RightButton>;

TEST_P(RightButtonTest, RestsWhileCalibrating) {
    const RightButton& c = GetParam();
    Driver().TouchMode = static_cast<std::uint8_t>(c.touchMode);
    Driver().RBFunction = static_cast<std::uint8_t>(c.rbFunction);
    Driver().RBAutoMode = static_cast<std::uint8_t>(c.autoMode);
    WindowHandle agent = 0;
    if (c.agentRegistered) {
        agent = desktop.AddWindow(" P-RBF");
        device.Driver().agent.AgentWindow = static_cast<std::int32_t>(agent);
    }
    StartShown();
    UseWorkedExample();
    std::vector<int> autoDuring;
    std::size_t sendsDuring = 0;
    onWait = [&](Wait) {
        autoDuring.push_back(Driver().RBAutoMode);
        sendsDuring = desktop.sentMessages.size();
    };
    desktop.messageBoxAnswers = {kIdYes};
    Calibrate();

    std::vector<int> autoModes;
    for (const auto& r : device.RequestsWithCode(KV_IOCTL_SET_TOUCH_MODE)) {
        TouchParams p{};
        std::memcpy(&p, r.input.data(), sizeof p);
        autoModes.push_back(p.RBAutoMode);
    }
    EXPECT_EQ(autoModes, c.autoModesSent);
    std::vector<std::uintptr_t> sends;
    for (const auto& m : desktop.sentMessages)
        if (m.window == agent && m.message == kWmUser && m.lParam == 0) sends.push_back(m.wParam);
    EXPECT_EQ(sends, c.sends);
    if (!c.sends.empty()) {
        EXPECT_EQ(sendsDuring, 1u) << "hidden at load, shown at unload";
    }
    ASSERT_FALSE(autoDuring.empty());
    EXPECT_EQ(autoDuring.front(), c.autoModesSent.empty() ? c.autoMode : 0);
    EXPECT_EQ(Driver().RBAutoMode, c.autoMode) << "as it was after";
}

INSTANTIATE_TEST_SUITE_P(
    Settings, RightButtonTest,
    ::testing::Values(
        RightButton{"driver's automatic right button", 4, 1, 1, true, {0, 1}, {}},
        RightButton{"agent in drag-drop manual mode", 4, 1, 0, true, {}, {AgentHide, AgentShow}},
        RightButton{"agent in another mode", 2, 1, 1, true, {}, {AgentHide, AgentShow}},
        RightButton{"no agent running", 2, 1, 0, false, {}, {}},
        RightButton{"function off", 4, 0, 1, true, {}, {}}));

TEST_F(CalibrationTest, ScreenLaysOutCentredAtEverySize) {
    StartShown();
    ui::Form& f = Screen();
    f.OnActivate = nullptr;  // the layout alone, no procedure
    f.Show();
    struct Size {
        int w, h;
    };
    for (const Size s : {Size{1024, 768}, Size{1023, 767}, Size{640, 481}}) {
        SCOPED_TRACE(::testing::Message() << s.w << "x" << s.h);
        f.Move(0, 0, s.w * 15, s.h * 15);
        ui::Control& surface = Ctl("picCalibration");
        ui::Control& home = Ctl("picHome");
        EXPECT_EQ(surface.ScaleWidth(), s.w);
        EXPECT_EQ(surface.ScaleHeight(), s.h);
        EXPECT_LE(std::abs(2 * home.Left() + home.Width() - s.w), 1);
        EXPECT_LE(std::abs(2 * home.Top() + home.Height() - s.h), 1);
        EXPECT_EQ(home.Width(), 2 * Ctl("picMesg").Left() + Ctl("picMesg").Width());
        EXPECT_EQ(Ctl("lblTitle").Top(), home.Top() - 54);
        EXPECT_LE(std::abs(2 * Ctl("lblTitle").Left() + Ctl("lblTitle").Width() - s.w), 1);
        EXPECT_EQ(2 * Ctl("lblMesg3").Top() + Ctl("lblMesg3").Height(), Ctl("picStat").Height());
        EXPECT_EQ(program->CalibrationView().Geometry().right, s.w - 1);
    }
}

TEST_F(CalibrationTest, ScreenOperationsDrawAndWordAsAsked) {
    StartShown();
    ui::Form& f = Screen();
    f.OnActivate = nullptr;
    f.Show();
    CalibrationScreen& screen = program->CalibrationView();
    auto* peer = dynamic_cast<ui::HeadlessPeer*>(f.Peer());
    ui::Control& surface = Ctl("picCalibration");

    screen.DrawMark(3, true);
    screen.DrawMark(3, false);
    screen.DrawMark(9, true);
    const std::vector<ui::DrawOp>& ops = peer->Drawing(surface);
    using K = ui::DrawOp::Kind;
    const ui::Color red = CalibrationScreen::kMarkOutline, black = 0, white = 0xFFFFFF;
    const std::vector<std::tuple<K, int, int, int, int, ui::Color>> expected{
        {K::Box, 990, 734, 1023, 767, red},    {K::Line, 990, 750, 1023, 750, black},
        {K::Line, 1006, 734, 1006, 767, black}, {K::Box, 990, 734, 1023, 767, white},
        {K::Line, 990, 750, 1023, 750, white},  {K::Line, 1006, 734, 1006, 767, white}};
    ASSERT_EQ(ops.size(), expected.size()) << "target 9 draws nothing";
    for (std::size_t i = 0; i < ops.size(); ++i)
        EXPECT_EQ(std::make_tuple(ops[i].kind, ops[i].x1, ops[i].y1, ops[i].x2, ops[i].y2,
                                  ops[i].color),
                  expected[i])
            << i;

    screen.ShowLiftPrompt("NEXT STEP!");
    EXPECT_EQ(Ctl("lblMesg3").Caption(), "PLEASE LIFT OFF TO NEXT STEP!");
    EXPECT_TRUE(Ctl("lblMesg3").Visible());
    EXPECT_FALSE(Ctl("lblMesg1").Visible() || Ctl("lblMesg2").Visible());
    screen.ShowTouchPrompt("DOWN-RIGHT");
    EXPECT_FALSE(Ctl("lblMesg3").Visible());
    EXPECT_EQ(Ctl("lblMesg1").Caption(), "Please touch on the center of Cross Mark that");
    EXPECT_EQ(Ctl("lblMesg2").Caption(), "show on the DOWN-RIGHT of the screen");
    EXPECT_EQ(Ctl("lblMesg2").Left(), Ctl("lblMesg1").Left());
    EXPECT_TRUE(Ctl("lblMesg1").Visible() && Ctl("lblMesg2").Visible());
    screen.SetTouchIndicator(true);
    EXPECT_EQ(Ctl("picStat").BackColor(), ui::Rgb(255, 255, 0));
    screen.SetTouchIndicator(false);
    EXPECT_EQ(Ctl("picStat").BackColor(), ui::Rgb(255, 255, 255));
    EXPECT_EQ(Ctl("lblResolution").Caption(), "Resolution: 1024 X 768");
}

// On a display scaled to 150 % (10 twips a pixel) the surface still spans
// the screen's pixels and the marks stand where the table puts them for
// that many pixels: they are measured in pixels, never in twips. The boxes
// of the texts grow with the fonts.
TEST_F(CalibrationTest, MarksStandInPixelsOnAScaledDisplay) {
    ui::Headless().SetTwipsPerPixel(10);
    StartShown();
    ui::Form& f = Screen();
    f.OnActivate = nullptr;
    f.Show();
    f.Move(0, 0, 1024 * 10, 768 * 10);
    ui::Control& surface = Ctl("picCalibration");
    EXPECT_EQ(surface.ScaleWidth(), 1024);
    EXPECT_EQ(surface.ScaleHeight(), 768);
    program->CalibrationView().DrawMark(5, true);
    const std::vector<ui::DrawOp>& ops = dynamic_cast<ui::HeadlessPeer*>(f.Peer())->Drawing(surface);
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_EQ(std::make_tuple(ops[0].x1, ops[0].y1, ops[0].x2, ops[0].y2),
              std::make_tuple(494, 0, 526, 31));
    EXPECT_EQ(ops[2].x1, 511) << "the TOP mark's vertical line";
    EXPECT_EQ(Ctl("lblTitle").Height(), 54) << "the title's box grows with its font";
}

}  // namespace
}  // namespace kv::panel::test
