// KVPANEL's settings dialogs under Wine: each opened by its button,
// changed and applied; the stand-in driver then holds the new fields and
// the main window shows the new summary. Also the sound test and the
// right-button agent that the virtual-button dialog starts and closes.
#include "panel_e2e_support.h"

namespace panel_e2e {
namespace {

using PanelDialogs = PanelE2e;

constexpr const char* kAgentCaption = " P-RBF";

TEST_F(PanelDialogs, MouseSpeedAppliedReachesTheDriverAndTheSummary) {
    ASSERT_NE(StartPanel(), nullptr);
    HWND dialog = OpenDialog("cmdMouseSpeed", "frmMouseSpeed");
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(e2e::WindowText(dialog), kPanelCaption);
    EXPECT_TRUE(Checked(Control(dialog, "chkBoth")));  // 10 and 10 stored
    EXPECT_EQ(Text(dialog, "lblHS"), "50%");
    EXPECT_EQ(Text(dialog, "optAcceleration(2)"), "Medium");
    HWND apply = Control(dialog, "cmdApply");
    EXPECT_FALSE(IsWindowEnabled(apply));
    SaveShot(dialog, "mouse-speed");

    HWND horizontal = Control(dialog, "hscMouseHSpeed");
    Scroll(horizontal, SB_PAGERIGHT);  // +2, the vertical bar follows
    Scroll(horizontal, SB_LINERIGHT);  // +1
    EXPECT_EQ(Text(dialog, "lblHS"), "65%");
    EXPECT_EQ(Text(dialog, "lblVS"), "65%");
    e2e::Click(Control(dialog, "optAcceleration(3)"));
    EXPECT_TRUE(IsWindowEnabled(apply));
    SaveShot(dialog, "mouse-speed-changed");
    e2e::Click(apply);
    EXPECT_FALSE(IsWindowEnabled(apply));

    const TouchParams p = DriverParams();
    EXPECT_EQ(p.MouseHSpeed, 13);
    EXPECT_EQ(p.MouseVSpeed, 13);
    EXPECT_EQ(p.Acceleration, 3);
    EXPECT_EQ(p.Bypass, 0);
    EXPECT_EQ(p.TouchMode, 4);
    EXPECT_EQ(p.SoundTone, 1000);

    e2e::Click(Control(dialog, "cmdOK"));
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_EQ(Text(main, "lblMouseSpeed"), "HS=65%, VS=65%, Acceleration=Fast");
}

TEST_F(PanelDialogs, BypassGreysTheSpeedControls) {
    ASSERT_NE(StartPanel(), nullptr);
    HWND dialog = OpenDialog("cmdMouseSpeed", "frmMouseSpeed");
    ASSERT_NE(dialog, nullptr);
    e2e::Click(Control(dialog, "chkBypass"));
    for (const char* name : {"chkBoth", "hscMouseHSpeed", "hscMouseVSpeed", "optAcceleration(1)",
                             "optAcceleration(4)"})
        EXPECT_FALSE(IsWindowEnabled(Control(dialog, name))) << name;
    SaveShot(dialog, "mouse-speed-bypass");
    e2e::Click(Control(dialog, "cmdOK"));
    EXPECT_EQ(DriverParams().Bypass, 1);
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_EQ(Text(main, "lblMouseSpeed"), "Enable Bypass Mode");
}

TEST_F(PanelDialogs, FeedbackSoundAppliedReachesTheDriverAndTheSummary) {
    ASSERT_NE(StartPanel(), nullptr);
    HWND dialog = OpenDialog("cmdFeedbackSound", "frmFeedbackSound");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog, "lblTone"), "1000");
    EXPECT_EQ(Text(dialog, "lblDuration"), "20");
    EXPECT_EQ(Text(dialog, "optFeedbackSound(4)"), " Both Touch Down && Lift Off");
    EXPECT_FALSE(IsWindowEnabled(Control(dialog, "cmdSoundTest")));  // touch-down sound in force
    SaveShot(dialog, "feedback-sound");

    e2e::Click(Control(dialog, "optFeedbackSound(1)"));
    EXPECT_FALSE(IsWindowEnabled(Control(dialog, "cmdSoundTest")));
    Scroll(Control(dialog, "hscTone"), SB_PAGERIGHT);
    Scroll(Control(dialog, "hscDuration"), SB_LINERIGHT);
    EXPECT_EQ(Text(dialog, "lblTone"), "1100");
    e2e::Click(Control(dialog, "cmdApply"));
    EXPECT_TRUE(IsWindowEnabled(Control(dialog, "cmdSoundTest")));

    const TouchParams p = DriverParams();
    EXPECT_EQ(p.SoundMode, 1);
    EXPECT_EQ(p.SoundTone, 1100);
    EXPECT_EQ(p.SoundDuration, 21);
    EXPECT_EQ(p.MouseHSpeed, 10);

    e2e::Click(Control(dialog, "cmdCandel"));
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_EQ(Text(main, "lblFeedbackSound"), "Silence ( No Sound )");
}

TEST_F(PanelDialogs, TouchHereToTestReachesTheDriversSoundTest) {
    SetDriver([](TouchParams& p) { p.SoundMode = 1; });
    ASSERT_NE(StartPanel(), nullptr);
    HWND dialog = OpenDialog("cmdFeedbackSound", "frmFeedbackSound");
    ASSERT_NE(dialog, nullptr);
    Scroll(Control(dialog, "hscTone"), SB_PAGELEFT);  // 900, not applied
    HWND test = Control(dialog, "cmdSoundTest");
    ASSERT_TRUE(IsWindowEnabled(test));
    PressAndRelease(test);

    const auto tests = DriverLog(KVSIM_LOG_SOUND_TEST);
    ASSERT_EQ(tests.size(), 2u) << "one sound at press and one at release";
    for (const auto& t : tests) {
        EXPECT_EQ(t.Args[0], 900);
        EXPECT_EQ(t.Args[1], 20);
    }
    e2e::Click(Control(dialog, "cmdCandel"));
    EXPECT_EQ(DriverParams().SoundTone, 1000);
}

TEST_F(PanelDialogs, VirtualButtonAppliedReachesTheDriverAndTheSummary) {
    ASSERT_NE(StartPanel(), nullptr);
    HWND dialog = OpenDialog("cmdVirtualButton", "frmVirtualButton");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(Checked(Control(dialog, "optVirtualButton(4)")));
    EXPECT_TRUE(Checked(Control(dialog, "optRBFunction(0)")));
    EXPECT_FALSE(IsWindowEnabled(Control(dialog, "cboRBAutoMode")));
    SaveShot(dialog, "virtual-button");

    e2e::Click(Control(dialog, "optRBFunction(1)"));
    EXPECT_TRUE(IsWindowEnabled(Control(dialog, "cboRBAutoMode")));
    Pick(Control(dialog, "cboRBAutoMode"), 1);
    EXPECT_TRUE(IsWindowEnabled(Control(dialog, "cboRBAutoSTime")));
    Pick(Control(dialog, "cboRBAutoSTime"), 4);
    Pick(Control(dialog, "cboRBAutoBeep"), 0);
    SaveShot(dialog, "virtual-button-automatic");
    e2e::Click(Control(dialog, "cmdOK"));

    const TouchParams p = DriverParams();
    EXPECT_EQ(p.TouchMode, 4);
    EXPECT_EQ(p.RBFunction, 1);
    EXPECT_EQ(p.RBAutoMode, 1);
    EXPECT_EQ(p.RBAutoSTime, 4);
    EXPECT_EQ(p.RBAutoETime, 3);
    EXPECT_EQ(p.RBAutoBeep, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_EQ(Text(main, "lblVirtualButton"), "Drag Drop Mode, RBF Enable ( Automatic Mode )");
    EXPECT_TRUE(e2e::ProcessesNamed("KVRBTN.exe").empty()) << "automatic mode needs no agent";
}

TEST_F(PanelDialogs, ManualRightButtonStartsAVisibleAgentAndDisablingClosesIt) {
    ASSERT_NE(StartPanel(), nullptr);
    HWND dialog = OpenDialog("cmdVirtualButton", "frmVirtualButton");
    ASSERT_NE(dialog, nullptr);
    e2e::Click(Control(dialog, "optRBFunction(1)"));
    Pick(Control(dialog, "cboRBAutoMode"), 0);
    e2e::Click(Control(dialog, "cmdApply"));

    HWND agent = e2e::WaitForWindow(kAgentCaption);
    ASSERT_NE(agent, nullptr) << "no right-button agent";
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(agent) != FALSE; }, 5000));
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            KvSimState s{};
            return sim.ReadState(s) &&
                   s.Agent.AgentWindow ==
                       static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(agent));
        },
        5000));
    EXPECT_EQ(e2e::ProcessesNamed("KVRBTN.exe").size(), 1u);

    e2e::Click(Control(dialog, "optRBFunction(0)"));
    e2e::Click(Control(dialog, "cmdApply"));
    EXPECT_TRUE(e2e::WaitUntil([] { return e2e::ProcessesNamed("KVRBTN.exe").empty(); }, 5000))
        << "the agent kept running";
    EXPECT_EQ(DriverParams().RBFunction, 0);
    e2e::Click(Control(dialog, "cmdOK"));
    EXPECT_EQ(Text(main, "lblVirtualButton"), "Drag Drop Mode, RBF Disable");
}

}  // namespace
}  // namespace panel_e2e
