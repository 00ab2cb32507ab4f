// frmVirtualButton: touch mode, right-button function, the automatic
// mode's controls, and the right-button agent started or closed by Apply.
#include "panel/virtual_button_dialog.h"
#include "common/winutil/companions.h"
#include "tests/unit/panel/panel_fixture.h"

namespace kv::panel::test {
namespace {

struct Stored {
    int touchMode, rbFunction, autoMode, sTime, eTime, beep;
};

class VirtualButtonTest : public PanelTest {
protected:
    ui::Form& OpenWith(const Stored& s) {
        Driver().TouchMode = static_cast<std::uint8_t>(s.touchMode);
        Driver().RBFunction = static_cast<std::uint8_t>(s.rbFunction);
        Driver().RBAutoMode = static_cast<std::uint8_t>(s.autoMode);
        Driver().RBAutoSTime = static_cast<std::uint8_t>(s.sTime);
        Driver().RBAutoETime = static_cast<std::uint8_t>(s.eTime);
        Driver().RBAutoBeep = static_cast<std::uint8_t>(s.beep);
        StartShown();
        device.ClearRequests();
        return OpenVirtualButton();
    }
    static bool GroupEnabled(ui::Form& d, bool expected) {
        bool all = true;
        for (const char* name :
             {"lblRBAutoSTime", "cboRBAutoSTime", "lblRBAutoSTimeSec", "lblRBAutoETime",
              "cboRBAutoETime", "lblRBAutoETimeSec", "lblRBAutoBeep", "cboRBAutoBeep"}) {
            EXPECT_EQ(d.Ctl(name).Enabled(), expected) << name;
            all = all && d.Ctl(name).Enabled() == expected;
        }
        return all;
    }
    WindowHandle RegisterAgent() {
        const WindowHandle agent = desktop.AddWindow(" P-RBF");
        device.Driver().agent.AgentWindow = static_cast<std::int32_t>(agent);
        return agent;
    }
    std::size_t AgentCloses(WindowHandle agent) const {
        std::size_t n = 0;
        for (const auto& m : desktop.sentMessages)
            if (m.window == agent && m.message == 0x400 && m.wParam == 0x100E && m.lParam == 0) ++n;
        return n;
    }
};

TEST_F(VirtualButtonTest, LoadFillsCaptionsListsAndSelections) {
    ui::Form& d = OpenWith({4, 1, 1, 2, 9, 1});
    EXPECT_EQ(d.Ctl("frameVirtualButton").Caption(), "  Virtual Button Option  ");
    EXPECT_EQ(d.Ctl("frameRBFunction").Caption(), "  Right Button Function ");
    EXPECT_EQ(d.Ctl("frameRBAutoMode").Caption(), "  Right Button Automatic Mode");
    const char* modes[] = {" Stream Mode", " Lift Off Mode", " Touch Down Mode", " Drag Drop Mode"};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(d.Ctl("optVirtualButton", i).Caption(), modes[i - 1]);
        EXPECT_EQ(d.Ctl("optVirtualButton", i).ForeColor(), i == 4 ? ui::kBlack : ui::kTeal);
    }
    EXPECT_EQ(d.Ctl("optRBFunction", 0).Caption(), "Disable ( Off )");
    EXPECT_EQ(d.Ctl("optRBFunction", 1).Caption(), "Enable  ( On )");
    EXPECT_EQ(d.Ctl("optRBFunction", 1).Value(), 1);
    EXPECT_EQ(d.Ctl("optRBFunction", 1).ForeColor(), ui::kBlack);
    EXPECT_EQ(d.Ctl("optRBFunction", 0).ForeColor(), ui::kTeal);

    ui::Control& mode = d.Ctl("cboRBAutoMode");
    EXPECT_EQ(mode.Items(), (std::vector<std::string>{" Manual Mode", " Automatic Mode"}));
    EXPECT_EQ(mode.ListIndex(), 1);
    const std::vector<std::string> times{"0.5", "1",   "1.5", "2",   "2.5",
                                         "3",   "3.5", "4",   "4.5", "5"};
    EXPECT_EQ(d.Ctl("cboRBAutoSTime").Items(), times);
    EXPECT_EQ(d.Ctl("cboRBAutoETime").Items(), times);
    EXPECT_EQ(d.Ctl("cboRBAutoSTime").Text(), "1.5");
    EXPECT_EQ(d.Ctl("cboRBAutoETime").Text(), "5");
    EXPECT_EQ(d.Ctl("cboRBAutoBeep").Items(), (std::vector<std::string>{"Off", "On"}));
    EXPECT_EQ(d.Ctl("cboRBAutoBeep").ListIndex(), 1);
    EXPECT_EQ(d.Ctl("lblRBAutoSTime").Caption(), "Toggle On");
    EXPECT_EQ(d.Ctl("lblRBAutoETime").Caption(), "Toggle Off");
    EXPECT_EQ(d.Ctl("lblRBAutoSTimeSec").Caption(), "Sec.");
    EXPECT_EQ(d.Ctl("lblRBAutoBeep").Caption(), "Beep");
    EXPECT_FALSE(d.Ctl("cmdApply").Enabled());
}

TEST_F(VirtualButtonTest, ReopenedListsAreNotFilledTwice) {
    ui::Form& d = OpenWith({4, 1, 0, 0, 0, 0});
    d.Ctl("cmdCandel").UserClick();
    ui::Form& again = OpenVirtualButton();
    EXPECT_EQ(again.Ctl("cboRBAutoSTime").ListCount(), 10);
    EXPECT_EQ(again.Ctl("cboRBAutoMode").ListCount(), 2);
}

struct EnabledCase {
    Stored stored;
    bool modeEnabled;
    bool groupEnabled;
};

class EnabledStateTest : public VirtualButtonTest,
                         public ::testing::WithParamInterface<EnabledCase> {};

TEST_P(EnabledStateTest, ModeListAndAutomaticGroupFollowTheSelections) {
    const EnabledCase c = GetParam();
    ui::Form& d = OpenWith(c.stored);
    EXPECT_EQ(d.Ctl("cboRBAutoMode").Enabled(), c.modeEnabled);
    GroupEnabled(d, c.groupEnabled);
    EXPECT_TRUE(d.Ctl("optRBFunction", 0).Enabled());
    EXPECT_TRUE(d.Ctl("optRBFunction", 1).Enabled());
}

INSTANTIATE_TEST_SUITE_P(Panel, EnabledStateTest,
                         ::testing::Values(EnabledCase{{1, 1, 1, 0, 0, 0}, false, false},
                                           EnabledCase{{2, 1, 1, 0, 0, 0}, false, false},
                                           EnabledCase{{3, 1, 0, 0, 0, 0}, false, false},
                                           EnabledCase{{4, 0, 1, 0, 0, 0}, false, false},
                                           EnabledCase{{4, 1, 0, 0, 0, 0}, true, false},
                                           EnabledCase{{4, 1, 1, 0, 0, 0}, true, true},
                                           EnabledCase{{4, 1, 2, 0, 0, 0}, true, false},
                                           EnabledCase{{0, 1, 1, 0, 0, 0}, false, false}));

TEST_F(VirtualButtonTest, EnabledStatesFollowClicks) {
    ui::Form& d = OpenWith({1, 0, 1, 0, 0, 0});
    d.Ctl("optVirtualButton", 4).UserClick();
    EXPECT_FALSE(d.Ctl("cboRBAutoMode").Enabled());
    d.Ctl("optRBFunction", 1).UserClick();
    EXPECT_TRUE(d.Ctl("cboRBAutoMode").Enabled());
    GroupEnabled(d, true);
    d.Ctl("cboRBAutoMode").UserSelect(0);
    GroupEnabled(d, false);
    d.Ctl("cboRBAutoMode").UserSelect(1);
    d.Ctl("optVirtualButton", 3).UserClick();
    EXPECT_FALSE(d.Ctl("cboRBAutoMode").Enabled());
    GroupEnabled(d, false);
}

TEST_F(VirtualButtonTest, GreyedFieldsCannotBeChangedAndAreSentBackAsStored) {
    ui::Form& d = OpenWith({2, 1, 1, 4, 6, 1});
    d.Ctl("cboRBAutoSTime").UserSelect(0);
    d.Ctl("cboRBAutoMode").UserSelect(0);
    EXPECT_FALSE(d.Ctl("cmdApply").Enabled());
    d.Ctl("optVirtualButton", 3).UserClick();
    d.Ctl("cmdApply").UserClick();
    EXPECT_EQ(Driver().TouchMode, 3);
    EXPECT_EQ(Driver().RBAutoMode, 1);
    EXPECT_EQ(Driver().RBAutoSTime, 4);
    EXPECT_EQ(Driver().RBAutoETime, 6);
    EXPECT_EQ(Driver().RBAutoBeep, 1);
}

TEST_F(VirtualButtonTest, AChangeThatBecomesGreyedNoLongerCounts) {
    ui::Form& d = OpenWith({4, 0, 1, 2, 2, 0});
    d.Ctl("optRBFunction", 1).UserClick();
    d.Ctl("cboRBAutoSTime").UserSelect(7);
    EXPECT_TRUE(d.Ctl("cmdApply").Enabled());
    d.Ctl("optRBFunction", 0).UserClick();
    EXPECT_FALSE(d.Ctl("cmdApply").Enabled());
    d.Ctl("cmdOK").UserClick();
    EXPECT_TRUE(BlockRequests().empty());
}

TEST_F(VirtualButtonTest, AutomaticTimesAndBeepAreEditableAndSent) {
    ui::Form& d = OpenWith({4, 1, 1, 1, 3, 0});
    d.Ctl("cboRBAutoSTime").UserSelect(9);
    EXPECT_TRUE(d.Ctl("cmdApply").Enabled());
    d.Ctl("cboRBAutoSTime").UserSelect(1);
    EXPECT_FALSE(d.Ctl("cmdApply").Enabled());
    d.Ctl("cboRBAutoSTime").UserSelect(9);
    d.Ctl("cboRBAutoETime").UserSelect(0);
    d.Ctl("cboRBAutoBeep").UserSelect(1);
    d.Ctl("cmdApply").UserClick();
    EXPECT_EQ(Driver().RBAutoSTime, 9);
    EXPECT_EQ(Driver().RBAutoETime, 0);
    EXPECT_EQ(Driver().RBAutoBeep, 1);
    EXPECT_EQ(MainCtl("lblVirtualButton").Caption(),
              "Drag Drop Mode, RBF Enable ( Automatic Mode )");
}

// ---- the agent ---------------------------------------------------------------------

struct AgentCase {
    int touchMode, rbFunction, autoMode;
    AgentAction action;
};

class AgentDecisionTest : public ::testing::TestWithParam<AgentCase> {};

TEST_P(AgentDecisionTest, AgentRunsExactlyWhenTheFunctionIsOnAndNotAutomaticInDragDrop) {
    const AgentCase c = GetParam();
    EXPECT_EQ(DecideAgentAction(static_cast<std::uint8_t>(c.touchMode),
                                static_cast<std::uint8_t>(c.rbFunction),
                                static_cast<std::uint8_t>(c.autoMode)),
              c.action);
}

INSTANTIATE_TEST_SUITE_P(Panel, AgentDecisionTest,
                         ::testing::Values(AgentCase{4, 1, 0, AgentAction::Start},
                                           AgentCase{4, 1, 1, AgentAction::Close},
                                           AgentCase{4, 0, 0, AgentAction::Close},
                                           AgentCase{1, 1, 1, AgentAction::Start},
                                           AgentCase{2, 1, 0, AgentAction::Start},
                                           AgentCase{3, 0, 1, AgentAction::Close},
                                           AgentCase{4, 1, 2, AgentAction::Close},
                                           AgentCase{4, 2, 0, AgentAction::Close},
                                           AgentCase{0, 1, 1, AgentAction::Start}));

TEST_F(VirtualButtonTest, ManualDragDropApplyStartsTheAgentHidden) {
    ui::Form& d = OpenWith({4, 0, 0, 0, 0, 0});
    d.Ctl("optRBFunction", 1).UserClick();
    d.Ctl("cmdApply").UserClick();
    ASSERT_EQ(process.execs.size(), 1u);
    EXPECT_EQ(process.execs[0].commandLine, "\"C:\\Program Files\\TouchScreen\\KVRBTN.exe\"");
    EXPECT_EQ(process.execs[0].showState, 0);
    EXPECT_TRUE(desktop.sentMessages.empty());
    EXPECT_EQ(MainCtl("lblVirtualButton").Caption(), "Drag Drop Mode, RBF Enable ( Manual Mode )");
    // Each later Apply that keeps the function on starts another copy (it
    // hands over to the running one).
    d.Ctl("optVirtualButton", 1).UserClick();
    d.Ctl("cmdApply").UserClick();
    EXPECT_EQ(process.execs.size(), 2u);
}

TEST_F(VirtualButtonTest, DisablingTheFunctionClosesTheRegisteredAgent) {
    const WindowHandle agent = RegisterAgent();
    ui::Form& d = OpenWith({4, 1, 0, 0, 0, 0});
    d.Ctl("optRBFunction", 0).UserClick();
    d.Ctl("cmdApply").UserClick();
    EXPECT_EQ(AgentCloses(agent), 1u);
    EXPECT_EQ(Sent(KV_IOCTL_GET_AGENT_WINDOW), 1u);
    EXPECT_TRUE(process.execs.empty());
    // The driver heard of the change before the agent was told.
    ASSERT_EQ(device.Requests().size(), 2u);
    EXPECT_EQ(device.Requests()[0].code, KV_IOCTL_SET_TOUCH_MODE);
}

TEST_F(VirtualButtonTest, AutomaticDragDropClosesTheAgent) {
    const WindowHandle agent = RegisterAgent();
    ui::Form& d = OpenWith({4, 1, 0, 0, 0, 0});
    d.Ctl("cboRBAutoMode").UserSelect(1);
    d.Ctl("cmdApply").UserClick();
    EXPECT_EQ(AgentCloses(agent), 1u);
    EXPECT_TRUE(process.execs.empty());
}

TEST_F(VirtualButtonTest, WithNoAgentRegisteredNothingIsSentToAnyWindow) {
    ui::Form& d = OpenWith({4, 1, 0, 0, 0, 0});
    d.Ctl("optRBFunction", 0).UserClick();
    d.Ctl("cmdApply").UserClick();
    EXPECT_TRUE(desktop.sentMessages.empty());
    EXPECT_EQ(Sent(KV_IOCTL_GET_AGENT_WINDOW), 1u);
}

// A stored list index outside its list: the combo shows nothing, the
// dialog keeps the stored value, and Apply sends it back unchanged.
TEST_F(VirtualButtonTest, ListIndexOutsideItsListShowsNothingAndIsKept) {
    ui::Form& d = OpenWith({4, 1, 2, 10, 200, 7});
    for (const char* combo :
         {"cboRBAutoMode", "cboRBAutoSTime", "cboRBAutoETime", "cboRBAutoBeep"}) {
        EXPECT_EQ(d.Ctl(combo).ListIndex(), -1) << combo;
        EXPECT_EQ(d.Ctl(combo).Text(), "") << combo;
    }
    EXPECT_FALSE(d.Ctl("cmdApply").Enabled());

    d.Ctl("optVirtualButton", 3).UserClick();
    d.Ctl("cmdApply").UserClick();
    EXPECT_EQ(Driver().TouchMode, 3);
    EXPECT_EQ(Driver().RBAutoMode, 2);
    EXPECT_EQ(Driver().RBAutoSTime, 10);
    EXPECT_EQ(Driver().RBAutoETime, 200);
    EXPECT_EQ(Driver().RBAutoBeep, 7);
}

TEST_F(VirtualButtonTest, PickingFromAnEmptyShownListCountsAsAChange) {
    ui::Form& d = OpenWith({4, 1, 1, 10, 3, 1});
    d.Ctl("cboRBAutoSTime").UserSelect(2);
    EXPECT_TRUE(d.Ctl("cmdApply").Enabled());
    d.Ctl("cmdApply").UserClick();
    EXPECT_EQ(Driver().RBAutoSTime, 2);
}

}  // namespace
}  // namespace kv::panel::test
