// Window and process utilities over the fake desktop and process ports.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/branding/vendor_files.h"
#include "common/device/device_channel.h"
#include "common/winutil/centring.h"
#include "common/winutil/companions.h"
#include "common/winutil/cursor.h"
#include "common/winutil/file_exists.h"
#include "common/winutil/message_boxes.h"
#include "common/winutil/peer_window.h"
#include "common/winutil/program_titles.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_process.h"

namespace kv {
namespace {

TEST(ErrorBox, BeepsThenShowsASystemModalStopBox) {
    FakeDesktop desktop;
    desktop.messageBoxAnswers.push_back(kIdOk);
    EXPECT_EQ(ErrorBox(desktop, "Fail to load data from Register File!", kPanelTitle), kIdOk);
    ASSERT_EQ(desktop.calls, (std::vector<std::string>{"MessageBeep", "MessageBoxA"}));
    ASSERT_EQ(desktop.messageBoxes.size(), 1u);
    EXPECT_EQ(desktop.messageBoxes[0].text, "Fail to load data from Register File!");
    EXPECT_EQ(desktop.messageBoxes[0].caption, " TouchScreen Control Panel #KV-PS2");
    EXPECT_EQ(desktop.messageBoxes[0].flags, 0x1010u);
}

TEST(QuestionBox, AddsYesNoQuestionAndSystemModalToTheExtraFlagsWithoutABeep) {
    FakeDesktop desktop;
    desktop.messageBoxAnswers = {kIdNo, kIdYes};
    EXPECT_EQ(QuestionBox(desktop, "Restart now?", 0, kSetupTitle), kIdNo);
    EXPECT_EQ(QuestionBox(desktop, "Restart now?", 0x100, kSetupTitle), kIdYes);
    EXPECT_EQ(desktop.beeps, 0);
    EXPECT_EQ(desktop.messageBoxes[0].flags, 0x1024u);
    EXPECT_EQ(desktop.messageBoxes[1].flags, 0x1124u);  // second button default
    EXPECT_EQ(desktop.messageBoxes[1].caption, "TouchScreen Driver Installation");
}

TEST(Cursor, HideAndRestoreCallThePlatformUntilTheCountCrossesZero) {
    struct Case {
        int start;
        bool hide;
        int calls;
        int end;
    };
    const Case cases[] = {
        {2, true, 3, -1},  {0, true, 1, -1},  {-1, true, 1, -2},  // hiding never skips a call
        {-3, false, 3, 0}, {-1, false, 1, 0}, {0, false, 1, 1},   // nor does restoring
        {5, false, 1, 6},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.cursorCount = c.start;
        c.hide ? HideCursor(desktop) : RestoreCursor(desktop);
        EXPECT_EQ(desktop.showCursorCalls, c.calls) << c.start << (c.hide ? " hide" : " restore");
        EXPECT_EQ(desktop.cursorCount, c.end) << c.start;
    }
}

// A platform whose count never moves must not hang the program.
class StuckCursorDesktop : public FakeDesktop {
public:
    int ShowCursor(bool) override {
        ++showCursorCalls;
        return 0;
    }
};

TEST(Cursor, AStuckCountEndsTheLoop) {
    StuckCursorDesktop desktop;
    HideCursor(desktop);
    EXPECT_GT(desktop.showCursorCalls, 1);
    EXPECT_LE(desktop.showCursorCalls, 1000);
}

class PeerWindow : public ::testing::Test {
protected:
    FakeDesktop desktop;
    const std::string caption = kPanelTitle;
};

TEST_F(PeerWindow, FindsTheFirstInstanceSkippingItsOwnWindow) {
    desktop.AddWindow("Program Manager");
    const WindowHandle own = desktop.AddWindow(caption);
    const WindowHandle first = desktop.AddWindow(caption);
    EXPECT_EQ(FindPeerWindow(desktop, own, caption), first);
}

TEST_F(PeerWindow, SkipsOwnedWindowsForeignInstancesAndOtherTitles) {
    const WindowHandle own = desktop.AddWindow(caption);
    const WindowHandle owner = desktop.AddWindow("Owner");
    desktop.AddWindow(caption, owner);                       // owned
    desktop.AddWindow(caption, 0, 0x0400);                   // instance word not 0
    desktop.AddWindow(caption + " (2)");                     // starts with the caption
    desktop.AddWindow(" touchscreen control panel #kv-ps2");  // case differs
    desktop.AddWindow(caption.substr(0, caption.size() - 1));
    desktop.AddWindow("");
    EXPECT_EQ(FindPeerWindow(desktop, own, caption), 0);
    const WindowHandle real = desktop.AddWindow(caption);
    EXPECT_EQ(FindPeerWindow(desktop, own, caption), real);
}

TEST_F(PeerWindow, TitlesAreComparedOnTheir127FirstCharacters) {
    const std::string longTitle(200, 'T');
    const WindowHandle w = desktop.AddWindow(longTitle);
    EXPECT_EQ(FindPeerWindow(desktop, 0, longTitle), 0);
    EXPECT_EQ(FindPeerWindow(desktop, 0, longTitle.substr(0, 127)), w);
    EXPECT_EQ(FindPeerWindow(desktop, 0, longTitle.substr(0, 128)), 0);
}

TEST_F(PeerWindow, AnEmptyCaptionNeverMatchesAnUntitledWindow) {
    desktop.AddWindow("");
    EXPECT_EQ(FindPeerWindow(desktop, 0, ""), 0);
}

TEST_F(PeerWindow, NoWindowsAtAll) { EXPECT_EQ(FindPeerWindow(desktop, 0, caption), 0); }

TEST(HandOverToRunningInstance, AloneTheProgramGoesOn) {
    FakeDesktop desktop;
    FakeProcess process;
    const WindowHandle own = desktop.AddWindow(kPanelTitle);
    EXPECT_FALSE(HandOverToRunningInstance(process, desktop, kPanelProgramId, own, kPanelTitle));
    EXPECT_EQ(process.instanceQueries, std::vector<std::string>{"KVPANEL"});
    EXPECT_TRUE(desktop.calls.empty());
}

TEST(HandOverToRunningInstance, BringsTheFirstInstanceForwardThenToTheTop) {
    FakeDesktop desktop;
    FakeProcess process;
    process.runningPrograms.insert(kStartupProgramId);
    const WindowHandle first = desktop.AddWindow(kStartupTitle);
    const WindowHandle own = desktop.AddWindow(kStartupTitle);
    EXPECT_TRUE(HandOverToRunningInstance(process, desktop, kStartupProgramId, own, kStartupTitle));
    EXPECT_EQ(desktop.calls, (std::vector<std::string>{"SetForegroundWindow", "BringWindowToTop"}));
    EXPECT_EQ(desktop.foregrounded, std::vector<WindowHandle>{first});
    EXPECT_EQ(desktop.broughtToTop, std::vector<WindowHandle>{first});
    EXPECT_TRUE(desktop.messageBoxes.empty());
}

TEST(HandOverToRunningInstance, TellsTheUserWhenTheFirstWindowCannotBeFound) {
    FakeDesktop desktop;
    FakeProcess process;
    process.runningPrograms.insert(kPanelProgramId);
    const WindowHandle own = desktop.AddWindow(kPanelTitle);
    EXPECT_TRUE(HandOverToRunningInstance(process, desktop, kPanelProgramId, own, kPanelTitle));
    ASSERT_EQ(desktop.messageBoxes.size(), 1u);
    EXPECT_EQ(desktop.messageBoxes[0].text,
              "Application is running!\r\rPlease find and select the running window from "
              "Taskbar.");
    EXPECT_EQ(desktop.messageBoxes[0].caption, kPanelTitle);
    EXPECT_EQ(desktop.messageBoxes[0].flags, 0x1010u);
    EXPECT_EQ(desktop.beeps, 1);
    EXPECT_TRUE(desktop.foregrounded.empty());
}

TEST(CentreWindow, HalvesRoundToEvenBeforeTheIntegerHalving) {
    struct Case {
        double x;
        int h;
    };
    const Case cases[] = {
        {7650, 3825}, {4000, 2000}, {4001, 2000}, {4003, 2001}, {8.5, 4},  {9.5, 5},
        {25.5, 13},   {24.5, 12},   {2.5, 1},     {3.5, 2},     {3.49, 1}, {3.51, 2},
        {0, 0},       {0.5, 0},     {1.5, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(HalfRoundedEven(c.x), c.h) << c.x;
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
}

TEST(CentreWindow, SitsCentredAcrossAndAboveTheMiddle) {
    // 4000 twips high on a 9000-twip screen: 3825 - 2000.
    EXPECT_EQ(CentredPlacement(12000, 9000, 6000, 4000).top, 1825);
    EXPECT_EQ(CentredPlacement(12000, 9000, 6000, 4000).left, 3000);
    // 1024 x 768 at 15 twips per pixel, the main window's outer size.
    const WindowPlacement main = CentredPlacement(15360, 11520, 6765, 5325);
    EXPECT_EQ(main.left, 7680 - 3382);
    EXPECT_EQ(main.top, 4896 - 2662);
    // 30 * 0.85 = 25.5 goes to 26, then 13; 10 * 0.85 = 8.5 goes to 8, then 4.
    EXPECT_EQ(CentredPlacement(0, 30, 0, 0).top, 13);
    EXPECT_EQ(CentredPlacement(0, 10, 0, 0).top, 4);
    // A window larger than the screen goes off its top-left edge.
    EXPECT_EQ(CentredPlacement(1000, 1000, 3000, 3000).left, -1000);
}

TEST(CentreIcon, CentresInTheInnerAreaRoundingHalvesToEven) {
    const WindowPlacement even = CentredIn(750, 750, 480, 480);
    EXPECT_EQ(even.left, 135);
    EXPECT_EQ(even.top, 135);
    // (751 - 480) / 2 = 135.5 -> 136; (749 - 480) / 2 = 134.5 -> 134.
    EXPECT_EQ(CentredIn(751, 749, 480, 480).left, 136);
    EXPECT_EQ(CentredIn(751, 749, 480, 480).top, 134);
    EXPECT_EQ(CentredIn(400, 400, 480, 480).left, -40);
}

TEST(FileExists, AnEmptyPathIsFalseWithoutAskingThePlatform) {
    FakeProcess process;
    process.AddFile("C:\\Program Files\\TouchScreen\\KVLogo.Bmp");
    EXPECT_FALSE(FileExists(process, ""));
    EXPECT_TRUE(process.fileQueries.empty());
    EXPECT_TRUE(FileExists(process, "c:\\program files\\touchscreen\\kvlogo.bmp"));
    EXPECT_FALSE(FileExists(process, "C:\\Program Files\\TouchScreen\\KVVender.Bmp"));
}

TEST(SupportButton, VendorFilesDecideWhatTheButtonBecomes) {
    const std::string install = "C:\\Program Files\\TouchScreen";
    struct Case {
        bool cut, bitmap;
        SupportButtonChoice::Kind kind;
        const char* caption;
        bool enabled;
        const char* path;
    };
    const Case cases[] = {
        {true, true, SupportButtonChoice::Kind::Blank, "", false, ""},
        {true, false, SupportButtonChoice::Kind::Blank, "", false, ""},
        {false, true, SupportButtonChoice::Kind::Support, "S&upport", true,
         "C:\\Program Files\\TouchScreen\\KVVender.Bmp"},
        {false, false, SupportButtonChoice::Kind::About, "&About", true,
         "C:\\Program Files\\TouchScreen\\KVVender.Bmp"},
    };
    for (const auto& c : cases) {
        FakeProcess process;
        if (c.cut) process.AddFile(install + "\\KVVender.Cut");
        if (c.bitmap) process.AddFile(install + "\\KVVender.Bmp");
        const SupportButtonChoice choice = ChooseSupportButton(process, install);
        EXPECT_EQ(choice.kind, c.kind) << c.cut << c.bitmap;
        EXPECT_EQ(choice.caption, c.caption) << c.cut << c.bitmap;
        EXPECT_EQ(choice.enabled, c.enabled) << c.cut << c.bitmap;
        EXPECT_EQ(choice.venderBitmapPath, c.path) << c.cut << c.bitmap;
    }
}

TEST(StartCompanions, QuoteTheProgramPathAndUseTheirShowStates) {
    FakeProcess process;
    const std::string install = "C:\\Program Files\\TouchScreen";
    EXPECT_TRUE(StartAgent(process, install));
    EXPECT_TRUE(StartRotator(process, install));
    ASSERT_EQ(process.execs.size(), 2u);
    EXPECT_EQ(process.execs[0].commandLine, "\"C:\\Program Files\\TouchScreen\\KVRBTN.exe\"");
    EXPECT_EQ(process.execs[0].showState, 0);
    EXPECT_EQ(process.execs[1].commandLine, "\"C:\\Program Files\\TouchScreen\\KVROTATE.exe\"");
    EXPECT_EQ(process.execs[1].showState, 1);
}

TEST(StartCompanions, AResultBelow32IsAFailure) {
    for (unsigned result : {0u, 2u, 31u, 32u, 33u}) {
        FakeProcess process;
        process.winExecResult = result;
        EXPECT_EQ(StartAgent(process, "C:\\TS"), result >= 32) << result;
        EXPECT_EQ(StartRotator(process, "C:\\TS"), result >= 32) << result;
    }
}

// A driver that answers the two registration requests.
class RegistrationDevice : public DevicePort {
public:
    NativeHandle CreateFileA(const char*, std::uint32_t, std::uint32_t, SecurityAttributesRecord*,
                             std::uint32_t, std::uint32_t, NativeHandle) override {
        return 0x44;
    }
    bool DeviceIoControl(NativeHandle, std::uint32_t code, void*, std::uint32_t, void* out,
                         std::uint32_t outSize, std::uint32_t*, OverlappedRecord*) override {
        requests.push_back(code);
        if (code == KV_IOCTL_GET_AGENT_WINDOW && outSize == sizeof agent)
            std::memcpy(out, &agent, sizeof agent);
        if (code == KV_IOCTL_GET_ROTATOR_WINDOW && outSize == sizeof rotator)
            std::memcpy(out, &rotator, sizeof rotator);
        return true;
    }
    bool CloseHandle(NativeHandle) override { return true; }

    AgentRegistration agent{-1, 0, {0, 0}};
    RotatorRegistration rotator{-1, 0, {0, 0}};
    std::vector<std::uint32_t> requests;
};

class AgentCommands : public ::testing::Test {
protected:
    RegistrationDevice device;
    DeviceChannel channel{device};
    FakeDesktop desktop;
};

TEST_F(AgentCommands, NothingIsSentWhenNoAgentIsRegistered) {
    desktop.AddWindow(kRButtonTitle);  // a window with the agent's title is not asked
    NotifyAgent(channel, desktop, AgentClose);
    EXPECT_EQ(device.requests, std::vector<std::uint32_t>{KV_IOCTL_GET_AGENT_WINDOW});
    EXPECT_TRUE(desktop.calls.empty());
}

TEST_F(AgentCommands, TheCommandGoesToTheRegisteredWindowAsWmUser) {
    const WindowHandle agent = desktop.AddWindow(kRButtonTitle);
    device.agent.AgentWindow = static_cast<std::int32_t>(agent);
    for (std::uintptr_t command : {AgentHide, AgentShow, AgentClose})
        NotifyAgent(channel, desktop, command);
    ASSERT_EQ(desktop.sentMessages.size(), 3u);
    const std::uintptr_t expected[] = {0x1000, 0x1001, 0x100E};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(desktop.sentMessages[i].window, agent);
        EXPECT_EQ(desktop.sentMessages[i].message, 0x400u);
        EXPECT_EQ(desktop.sentMessages[i].wParam, expected[i]);
        EXPECT_EQ(desktop.sentMessages[i].lParam, 0);
    }
}

TEST_F(AgentCommands, ADeadOrZeroRegistrationCountsAsNone) {
    const WindowHandle gone = desktop.AddWindow(kRButtonTitle);
    desktop.DestroyWindow(gone);
    device.agent.AgentWindow = static_cast<std::int32_t>(gone);
    NotifyAgent(channel, desktop, AgentClose);
    device.agent.AgentWindow = 0;
    NotifyAgent(channel, desktop, AgentClose);
    EXPECT_TRUE(desktop.calls.empty());
    EXPECT_FALSE(RegisteredWindowAlive(desktop, -1));
    EXPECT_FALSE(RegisteredWindowAlive(desktop, 0));
    EXPECT_FALSE(RegisteredWindowAlive(desktop, static_cast<std::int32_t>(gone)));
}

TEST_F(AgentCommands, AHandleWithItsTopBitSetIsSignExtended) {
    // The platform hands out sign-extended handles; the driver keeps 32 bits.
    const WindowHandle high = static_cast<WindowHandle>(static_cast<std::int32_t>(0xFFFF8010u));
    desktop.windows.push_back({high, 0, 0, "", kRButtonTitle});
    device.agent.AgentWindow = static_cast<std::int32_t>(0xFFFF8010u);
    EXPECT_TRUE(RegisteredWindowAlive(desktop, device.agent.AgentWindow));
    NotifyAgent(channel, desktop, AgentShow);
    ASSERT_EQ(desktop.sentMessages.size(), 1u);
    EXPECT_EQ(desktop.sentMessages[0].window, high);
}

TEST_F(AgentCommands, CloseRotatorAsksTheDriverAndSendsItsCloseCommand) {
    CloseRotator(channel, desktop);
    EXPECT_TRUE(desktop.calls.empty());
    const WindowHandle rotator = desktop.AddWindow("KVROTATE");
    device.rotator.RotatorWindow = static_cast<std::int32_t>(rotator);
    CloseRotator(channel, desktop);
    EXPECT_EQ(device.requests, (std::vector<std::uint32_t>{KV_IOCTL_GET_ROTATOR_WINDOW,
                                                           KV_IOCTL_GET_ROTATOR_WINDOW}));
    ASSERT_EQ(desktop.sentMessages.size(), 1u);
    EXPECT_EQ(desktop.sentMessages[0].window, rotator);
    EXPECT_EQ(desktop.sentMessages[0].message, 0x400u);
    EXPECT_EQ(desktop.sentMessages[0].wParam, 0x200Eu);
    EXPECT_EQ(desktop.sentMessages[0].lParam, 0);
}

// A second start while the first instance hides its main window behind a
// dialog, or has it minimised: the window the user has comes forward.
TEST(HandOverToRunningInstance, BringsForwardTheWindowInUseRestoredWhenMinimised) {
    struct Case {
        const char* name;
        bool mainVisible;
        bool dialogEnabled;
        bool dialogIconic;
        std::uint32_t dialogThread;
        bool expectDialog;
    };
    for (Case c : {Case{"main shown", true, true, false, 1, false},
                   Case{"main hidden behind a dialog", false, true, false, 1, true},
                   Case{"that dialog minimised", false, true, true, 1, true},
                   Case{"a disabled dialog is not the one", false, false, false, 1, false},
                   Case{"another program's window is not", false, true, false, 2, false}}) {
        SCOPED_TRACE(c.name);
        FakeDesktop desktop;
        FakeProcess process;
        process.runningPrograms.insert(kPanelProgramId);
        const WindowHandle other = desktop.AddWindow("Some other window");
        desktop.Get(other)->thread = 7;
        const WindowHandle dialog = desktop.AddWindow(kPanelTitle + std::string(" dialog"));
        const WindowHandle first = desktop.AddWindow(kPanelTitle);
        const WindowHandle own = desktop.AddWindow(kPanelTitle);
        desktop.Get(first)->visible = c.mainVisible;
        desktop.Get(dialog)->enabled = c.dialogEnabled;
        desktop.Get(dialog)->iconic = c.dialogIconic;
        desktop.Get(dialog)->thread = c.dialogThread;
        desktop.Get(own)->thread = 3;
        EXPECT_TRUE(HandOverToRunningInstance(process, desktop, kPanelProgramId, own, kPanelTitle));
        const WindowHandle expected = c.expectDialog ? dialog : first;
        EXPECT_EQ(desktop.foregrounded, std::vector<WindowHandle>{expected});
        EXPECT_EQ(desktop.broughtToTop, std::vector<WindowHandle>{expected});
        const auto restored = std::vector<std::pair<WindowHandle, int>>{{dialog, kSwRestore}};
        EXPECT_EQ(desktop.shown, c.dialogIconic ? restored : decltype(restored){});
        EXPECT_FALSE(desktop.IsIconic(expected));
    }
}

}  // namespace
}  // namespace kv
