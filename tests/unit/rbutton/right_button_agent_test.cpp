// The right-button agent against the stand-in driver's core, a fake
// desktop and headless forms: registration, hand-over to a running agent,
// the armed wait and its cancelling, the WM_USER commands, unregistering.
#include <gtest/gtest.h>

#include "common/winutil/companions.h"
#include "rbutton/right_button_agent.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_device.h"
#include "ui/headless.h"

namespace kv {
namespace {

class RecordingHost : public AgentHost {
public:
    void ReplaceWindowProcedure(ui::Form&) override { events.push_back("replace"); }
    void RestoreWindowProcedure(ui::Form&) override { events.push_back("restore"); }
    void ForceVisible(ui::Form&) override { events.push_back("visible"); }
    void WaitForEvents(int ms) override {
        ++waits;
        lastWaitMs = ms;
    }
    std::vector<std::string> events;
    int waits = 0;
    int lastWaitMs = 0;
};

class AgentTest : public ::testing::Test {
protected:
    void SetUp() override { ui::Headless().Reset(); }
    void TearDown() override {
        if (agent.Form().Loaded()) agent.Form().Unload();
        ui::Headless().Reset();
    }

    AgentRegistration DriverRegistration() { return device.Driver().agent; }
    std::int32_t FormHandle32() { return static_cast<std::int32_t>(agent.Form().Handle()); }

    FakeDevice device;
    FakeDesktop desktop;
    RecordingHost host;
    DeviceChannel channel{device};
    RightButtonAgent agent{channel, desktop, host};
};

TEST_F(AgentTest, StartRegistersItsWindowAndShowsTheButtonInTheWorkAreaCorner) {
    desktop.workArea = {0, 0, 1024, 738};
    ASSERT_TRUE(agent.Start());
    ui::Form& form = agent.Form();
    EXPECT_EQ(form.Caption(), " P-RBF");
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(form.TopMost());
    EXPECT_EQ(DriverRegistration().AgentWindow, FormHandle32());
    EXPECT_EQ(DriverRegistration().Armed, 0);
    EXPECT_EQ(host.events, (std::vector<std::string>{"replace", "visible"}));

    // The client area is exactly the button, whatever the frame.
    const ui::Control& action = form.Ctl("cmdAction");
    EXPECT_EQ(form.ScaleWidth(), 600);
    EXPECT_EQ(form.ScaleHeight(), 600);
    EXPECT_EQ(action.Left(), 0);
    EXPECT_EQ(action.Top(), 0);
    EXPECT_EQ(form.Left() + form.Width(), 1024 * 15);
    EXPECT_EQ(form.Top() + form.Height(), 738 * 15);
}

TEST_F(AgentTest, ClientAreaFollowsOtherBorderSizes) {
    ui::Headless().SetFrameTwips(90, 330);
    FakeDevice otherDevice;
    DeviceChannel otherChannel{otherDevice};
    RightButtonAgent other{otherChannel, desktop, host};
    ASSERT_TRUE(other.Start());
    EXPECT_EQ(other.Form().ScaleWidth(), 600);
    EXPECT_EQ(other.Form().ScaleHeight(), 600);
    EXPECT_EQ(other.Form().Width(), 690);
    EXPECT_EQ(other.Form().Height(), 930);
    other.Form().Unload();
}

TEST_F(AgentTest, SecondAgentShowsTheFirstAndEndsWithoutTouchingTheRegistration) {
    WindowHandle first = desktop.AddWindow(" P-RBF");
    device.Driver().agent.AgentWindow = static_cast<std::int32_t>(first);

    EXPECT_FALSE(agent.Start());
    ASSERT_EQ(desktop.sentMessages.size(), 1u);
    EXPECT_EQ(desktop.sentMessages[0].window, first);
    EXPECT_EQ(desktop.sentMessages[0].message, 0x400u);
    EXPECT_EQ(desktop.sentMessages[0].wParam, AgentShow);
    EXPECT_EQ(desktop.sentMessages[0].lParam, 0);
    EXPECT_EQ(DriverRegistration().AgentWindow, static_cast<std::int32_t>(first));
    EXPECT_EQ(device.OpenHandleCount(), 0u);
    EXPECT_FALSE(agent.Form().Loaded());
    EXPECT_TRUE(device.RequestsWithCode(KV_IOCTL_SET_AGENT_WINDOW).empty());
}

TEST_F(AgentTest, RegistrationOfADeadWindowIsTakenOver) {
    WindowHandle dead = desktop.AddWindow(" P-RBF");
    desktop.DestroyWindow(dead);
    device.Driver().agent.AgentWindow = static_cast<std::int32_t>(dead);

    ASSERT_TRUE(agent.Start());
    EXPECT_TRUE(desktop.sentMessages.empty());
    EXPECT_EQ(DriverRegistration().AgentWindow, FormHandle32());
}

TEST_F(AgentTest, MissingDriverReportsTheOpenFailureAndRegistersNothing) {
    device.SetLoaded(false);
    EXPECT_FALSE(agent.Start());
    ASSERT_EQ(desktop.messageBoxes.size(), 1u);
    EXPECT_EQ(desktop.messageBoxes[0].text, "Fail to open KVTOUCH.vxd!");
    EXPECT_EQ(desktop.messageBoxes[0].caption, " TouchScreen Right-Button #KV-PS2");
    EXPECT_EQ(desktop.messageBoxes[0].flags, 0x1010u);
    EXPECT_EQ(desktop.beeps, 1);
    EXPECT_TRUE(device.Requests().empty());
    EXPECT_FALSE(agent.Form().Loaded());
}

TEST_F(AgentTest, ArmedWaitEndsWhenTheDriverDeliversTheRightButtonTouch) {
    ASSERT_TRUE(agent.Start());
    agent.Form().UserActivate();  // the user's click on it activates it
    ui::Control& action = agent.Form().Ctl("cmdAction");
    int polls = 0;
    bool hiddenWhileArmed = true;
    bool driverArmedSeen = false;
    ui::Headless().SetDoEventsHook([&] {
        hiddenWhileArmed = hiddenWhileArmed && !action.Visible();
        driverArmedSeen = driverArmedSeen || device.Driver().agent.Armed == 1;
        if (++polls == 6) device.Tap(300, 400, 50);  // the touch the user makes
    });

    action.UserClick();

    EXPECT_TRUE(driverArmedSeen);
    EXPECT_TRUE(hiddenWhileArmed);
    EXPECT_TRUE(action.Visible());
    EXPECT_EQ(agent.Form().ActiveControl(), &action) << "Enter arms it again";
    EXPECT_EQ(agent.Waiting(), 0);
    EXPECT_EQ(DriverRegistration().Armed, 0);
    EXPECT_EQ(DriverRegistration().AgentWindow, FormHandle32());
    EXPECT_GE(host.waits, 2);
    EXPECT_GT(host.lastWaitMs, 0);
    // The touch became a right-button touch in the driver.
    bool rightTouch = false;
    for (const auto& entry : device.Log())
        rightTouch = rightTouch || entry.Kind == KVSIM_LOG_RIGHT_BUTTON;
    EXPECT_TRUE(rightTouch);
}

struct CancelCase {
    const char* name;
    std::function<void(ui::Form&)> act;
    bool cancels;
};

TEST_F(AgentTest, KeyOrLeftOrRightPressCancelsTheWaitOtherButtonsDoNot) {
    const CancelCase cases[] = {
        {"left press", [](ui::Form& f) { f.UserMouseDown(ui::kLeftButton, 0, 10, 10); }, true},
        {"right press", [](ui::Form& f) { f.UserMouseDown(ui::kRightButton, 0, 10, 10); }, true},
        {"key", [](ui::Form& f) { f.UserKeyDown(65, 0); }, true},
        {"middle press", [](ui::Form& f) { f.UserMouseDown(ui::kMiddleButton, 0, 10, 10); }, false},
    };
    ASSERT_TRUE(agent.Start());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int polls = 0;
        ui::Headless().SetDoEventsHook([&] {
            ++polls;
            if (polls == 4) c.act(agent.Form());
            if (polls == 40) device.Tap(10, 10, 20);  // ends a wait nobody cancelled
        });
        agent.Form().Ctl("cmdAction").UserClick();
        EXPECT_EQ(polls < 40, c.cancels) << "polls " << polls;
        EXPECT_EQ(DriverRegistration().Armed, 0);
        EXPECT_TRUE(agent.Form().Ctl("cmdAction").Visible());
    }
}

TEST_F(AgentTest, HideWhileArmedKeepsWaitingForTheDriver) {
    ASSERT_TRUE(agent.Start());
    int polls = 0;
    bool stillArmedAfterHide = false;
    ui::Headless().SetDoEventsHook([&] {
        ++polls;
        if (polls == 3) agent.HandleCommand(AgentHide, 0);
        if (polls == 10) {
            stillArmedAfterHide = device.Driver().agent.Armed == 1;
            device.Tap(1, 1, 10);
        }
    });
    agent.Form().Ctl("cmdAction").UserClick();
    EXPECT_TRUE(stillArmedAfterHide);
    EXPECT_FALSE(agent.Form().Visible());
    agent.HandleCommand(AgentShow, 0);
    EXPECT_TRUE(agent.Form().Visible());
}

TEST_F(AgentTest, CloseWhileArmedUnregistersAndSendsNothingAfterwards) {
    ASSERT_TRUE(agent.Start());
    std::size_t requestsAtClose = 0;
    int polls = 0;
    ui::Headless().SetDoEventsHook([&] {
        if (++polls == 3) {
            agent.HandleCommand(AgentClose, 0);
            requestsAtClose = device.Requests().size();
        }
    });
    agent.Form().Ctl("cmdAction").UserClick();
    EXPECT_FALSE(agent.Form().Loaded());
    EXPECT_EQ(device.Requests().size(), requestsAtClose);
    EXPECT_EQ(DriverRegistration().AgentWindow, -1);
    EXPECT_EQ(DriverRegistration().Armed, 0);
    EXPECT_EQ(device.OpenHandleCount(), 0u);
}

TEST_F(AgentTest, CommandsHideShowAndCloseTheWindow) {
    ASSERT_TRUE(agent.Start());
    EXPECT_EQ(agent.HandleCommand(AgentHide, 0), 0);
    EXPECT_FALSE(agent.Form().Visible());
    EXPECT_EQ(agent.HandleCommand(AgentShow, 0), 0);
    EXPECT_TRUE(agent.Form().Visible());
    EXPECT_EQ(agent.HandleCommand(AgentClose, 0), 0);
    EXPECT_FALSE(agent.Form().Loaded());
    EXPECT_EQ(DriverRegistration().AgentWindow, -1);
    EXPECT_EQ(host.events.back(), "restore");
    EXPECT_TRUE(desktop.messageBoxes.empty());
}

TEST_F(AgentTest, UnknownCommandShowsTheFailureBoxInUpperCaseHexAndCarriesOn) {
    ASSERT_TRUE(agent.Start());
    EXPECT_EQ(agent.HandleCommand(0x1abc, 0x2f), 0);
    ASSERT_EQ(desktop.messageBoxes.size(), 1u);
    EXPECT_EQ(desktop.messageBoxes[0].text, "RBF_WndProc Fail! wParam=1ABCh, lParam=2Fh");
    EXPECT_EQ(desktop.messageBoxes[0].flags, 0u);
    EXPECT_TRUE(agent.Form().Loaded());
    EXPECT_EQ(UnknownCommandText(0x200E, 0), "RBF_WndProc Fail! wParam=200Eh, lParam=0h");
    EXPECT_EQ(UnknownCommandText(0xFFFF, -1), "RBF_WndProc Fail! wParam=FFFFh, lParam=FFFFFFFFh");
}

TEST_F(AgentTest, ReservedBytesOfTheRegistrationGoBackAsTheDriverReturnedThem) {
    device.Driver().agent.Reserved[0] = 0x5A;
    device.Driver().agent.Reserved[1] = 0xA5;
    ASSERT_TRUE(agent.Start());
    auto sets = device.RequestsWithCode(KV_IOCTL_SET_AGENT_WINDOW);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].input[6], 0x5A);
    EXPECT_EQ(sets[0].input[7], 0xA5);
}

}  // namespace
}  // namespace kv
