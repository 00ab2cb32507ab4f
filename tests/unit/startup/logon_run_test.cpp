// A logon run: the mode from the command line, the double-click values
// into Windows and the product key (with the failure letters), the stored
// values and their defaults, and the driver steps.
#include <set>
#include <tuple>
#include <vector>

#include "startup/command_line.h"
#include "startup/logon_run.h"
#include "tests/unit/startup/startup_fixture.h"

namespace kv::startup::test {
namespace {

TEST(StartupCommandLine, OnlyTheWholeSwitchInAnyCaseOpensTheConfiguration) {
    const struct {
        const char* arguments;
        bool config;
    } cases[] = {{"/SDC", true},   {"/sdc", true},   {"/sDc", true},  {"/SDC x", false},
                 {"", false},      {" /SDC", false}, {"/SDC ", false}, {"/SD", false},
                 {"-SDC", false}};
    for (const auto& c : cases) EXPECT_EQ(IsConfigMode(c.arguments), c.config) << c.arguments;
}

using LogonRun = StartupTest;

TEST_F(LogonRun, NoStoredValuesAppliesAndStoresTheDefaults) {
    EXPECT_FALSE(Start(""));
    EXPECT_EQ(mouse.doubleClickTime, 500u);
    EXPECT_EQ(mouse.doubleClickWidth, 32);
    EXPECT_EQ(mouse.doubleClickHeight, 32);
    for (const auto& call : mouse.calls)
        if (call.name == "SystemParametersInfoA") {
            EXPECT_EQ(call.flags, kSpifSendWinIniChange);
        }
    // The decimal text with exactly one NUL.
    EXPECT_EQ(MouseText("DoubleClickSpeed"), std::string("500\0", 4));
    EXPECT_EQ(MouseText("DoubleClickWidth"), std::string("32\0", 3));
    EXPECT_EQ(MouseText("DoubleClickHeight"), std::string("32\0", 3));
    EXPECT_EQ(StoredDword("DoubleClickSpeed"), 500);
    EXPECT_EQ(StoredDword("DoubleClickHeight"), 32);
    EXPECT_TRUE(desktop.messageBoxes.empty()) << BoxTexts();
    EXPECT_FALSE(Main().Loaded()) << "the title window outlived the run";
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(LogonRun, StoredValuesApplyUnchangedEvenOutsideTheBarsRanges) {
    StoreValues(5000, -3, 70);
    Start("");
    EXPECT_EQ(mouse.doubleClickTime, 5000u);
    EXPECT_EQ(MouseText("DoubleClickWidth"), std::string("-3\0", 3));
    EXPECT_EQ(StoredDword("DoubleClickWidth"), -3);
    EXPECT_EQ(StoredDword("DoubleClickHeight"), 70);
}

TEST_F(LogonRun, AnyUnreadableValueFallsBackToAllThreeDefaults) {
    // Speed is read, width is text, height is missing: all three default.
    registry.SetDword(kHkeyLocalMachine, kProductKey, "DoubleClickSpeed", 700);
    registry.SetString(kHkeyLocalMachine, kProductKey, "DoubleClickWidth", "10");
    Start("");
    EXPECT_EQ(mouse.doubleClickTime, 500u);
    EXPECT_EQ(mouse.doubleClickWidth, 32);
    EXPECT_EQ(StoredDword("DoubleClickSpeed"), 500);
}

TEST_F(LogonRun, LoadKeepsEachValueReadAndReportsAnyFailure) {
    ProductInfo product;
    product.SelectProductKey(kHkeyLocalMachine, "SOFTWARE\\Halvane\\TouchScreen", "KV-PS2");
    registry.SetDword(kHkeyLocalMachine, kProductKey, "DoubleClickSpeed", 700);
    registry.SetValue(kHkeyLocalMachine, kProductKey, "DoubleClickWidth", kRegBinary, {1, 0, 0, 0});
    registry.SetDword(kHkeyLocalMachine, kProductKey, "DoubleClickHeight", 9);
    DoubleClickValues values{1, 2, 3};
    EXPECT_FALSE(LoadDoubleClickValues(registry, product, values));
    EXPECT_EQ(values, (DoubleClickValues{700, 2, 9}));

    EXPECT_TRUE(SaveDoubleClickValues(registry, product, {300, 4, 5}));
    EXPECT_TRUE(LoadDoubleClickValues(registry, product, values));
    EXPECT_EQ(values, (DoubleClickValues{300, 4, 5}));
}

struct FailureCase {
    std::set<unsigned> failingActions;
    bool keyFails;
    std::set<int> failingWrites;  // 1..3: the mouse key's three values
    const char* box;              // "" when none
    bool productKeySaved;
};

class DoubleClickFailures : public StartupTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DoubleClickFailures, AreNamedInStepOrderAndTheOtherStepsStillRun) {
    using Call = FakeRegistry::Call;
    const FailureCase& c = GetParam();
    mouse.failingActions = c.failingActions;
    int mouseWrites = 0;
    bool keyFailed = false;
    registry.beforeCall = [&](Call call, int) {
        // The user's mouse key comes right after the four system calls.
        if (mouse.calls.size() != 4) return;
        if (call == Call::CreateKey && c.keyFails && !keyFailed) {
            keyFailed = true;
            registry.FailNext(call, 5);
        }
        if (call == Call::SetValue && c.failingWrites.count(++mouseWrites) != 0)
            registry.FailNext(call, 5);
    };
    Start("");
    registry.beforeCall = nullptr;
    if (*c.box == '\0') {
        EXPECT_TRUE(desktop.messageBoxes.empty()) << BoxTexts();
    } else {
        ASSERT_EQ(desktop.messageBoxes.size(), 1u) << BoxTexts();
        EXPECT_EQ(desktop.messageBoxes[0].text, c.box);
        EXPECT_EQ(desktop.messageBoxes[0].caption, kStartupTitle);
        EXPECT_EQ(desktop.messageBoxes[0].flags, kMbOk | kMbIconStop | kMbSystemModal);
    }
    EXPECT_EQ(StoredDword("DoubleClickSpeed").has_value(), c.productKeySaved);
    // The time is set directly whatever the broadcast did.
    EXPECT_EQ(mouse.doubleClickTime, 500u);
    EXPECT_EQ(MouseText("DoubleClickSpeed").has_value(),
              !c.keyFails && c.failingWrites.count(3) == 0);
}

INSTANTIATE_TEST_SUITE_P(
    Letters, DoubleClickFailures,
    ::testing::Values(
        FailureCase{{kSpiSetDoubleClkWidth, kSpiSetDoubleClkHeight, kSpiSetDoubleClickTime}, false,
                    {}, "Fail to SetDoubleClock (WHT)!", true},
        FailureCase{{kSpiSetDoubleClickTime}, false, {}, "Fail to SetDoubleClock (T)!", true},
        FailureCase{{}, true, {}, "Fail to SetDoubleClock (R)!", false},
        FailureCase{{kSpiSetDoubleClkHeight}, true, {}, "Fail to SetDoubleClock (HR)!", false},
        FailureCase{{}, false, {1, 2, 3}, "Fail to SetDoubleClock (wht)!", true},
        FailureCase{{kSpiSetDoubleClkWidth}, false, {2}, "Fail to SetDoubleClock (Wh)!", true},
        FailureCase{{}, false, {}, "", true}));

TEST(RightButtonDecision, AgentUnlessAutomaticDragDrop) {
    const struct {
        int rbFunction, rbAutoMode, touchMode;
        bool needed;
    } cases[] = {{1, 0, 4, true}, {1, 1, 4, false}, {1, 2, 4, false}, {1, 1, 3, true},
                 {1, 0, 1, true}, {0, 0, 1, false}, {2, 0, 1, false}};
    for (const auto& c : cases) {
        TouchParams block{};
        block.RBFunction = static_cast<std::uint8_t>(c.rbFunction);
        block.RBAutoMode = static_cast<std::uint8_t>(c.rbAutoMode);
        block.TouchMode = static_cast<std::uint8_t>(c.touchMode);
        EXPECT_EQ(NeedsRightButtonAgent(block), c.needed)
            << c.rbFunction << " " << c.rbAutoMode << " " << c.touchMode;
    }
}

class LogonDriverSteps : public StartupTest {
protected:
    void SetRightButton(int rbFunction, int autoMode, int touchMode) {
        device.Params().RBFunction = static_cast<std::uint8_t>(rbFunction);
        device.Params().RBAutoMode = static_cast<std::uint8_t>(autoMode);
        device.Params().TouchMode = static_cast<std::uint8_t>(touchMode);
    }
    std::vector<std::string> Started() const {
        std::vector<std::string> started;
        for (const auto& e : process.execs) started.push_back(e.commandLine);
        return started;
    }
    std::size_t Sent(std::uint32_t code) const { return device.RequestsWithCode(code).size(); }
    static constexpr const char* kRotator = "\"C:\\Program Files\\TouchScreen\\KVROTATE.exe\"";
    static constexpr const char* kAgent = "\"C:\\Program Files\\TouchScreen\\KVRBTN.exe\"";
};

TEST_F(LogonDriverSteps, RotatorStartedMeansNoScreenSize) {
    SetRightButton(0, 0, 1);
    Start("");
    EXPECT_EQ(Started(), std::vector<std::string>{kRotator});
    EXPECT_EQ(process.execs[0].showState, 1);
    EXPECT_EQ(Sent(KV_IOCTL_SET_SCREEN_SIZE), 0u);
    EXPECT_EQ(Sent(KV_IOCTL_GET_AGENT_WINDOW), 0u);
    EXPECT_EQ(device.OpenHandleCount(), 0u);
    // The pause: about a second on the clock, with window events let in.
    EXPECT_GE(clock.Milliseconds(), 1000u + 500u);
    EXPECT_LE(clock.Milliseconds(), 1000u + 1500u);
    EXPECT_GT(ui::Headless().DoEventsCount(), 0);
}

TEST_F(LogonDriverSteps, NothingStartsSendsTheScreenSizeAndTellsOfTheAgent) {
    process.winExecResult = 2;  // file not found
    mouse.screenWidth = 1280;
    mouse.screenHeight = 1024;
    SetRightButton(1, 0, 1);
    Start("");
    EXPECT_EQ(Started(), (std::vector<std::string>{kRotator, kAgent}));
    EXPECT_EQ(process.execs[1].showState, 0);
    EXPECT_EQ(device.Params().ScreenWidth, 1280);
    EXPECT_EQ(device.Params().ScreenHeight, 1024);
    EXPECT_EQ(BoxTexts(), "Fail to initialize Right Button Function!|");
}

TEST_F(LogonDriverSteps, RegisteredAgentInAutomaticModeIsHiddenNotStarted) {
    const WindowHandle agent = desktop.AddWindow(" P-RBF");
    device.Driver().agent.AgentWindow = static_cast<std::int32_t>(agent);
    SetRightButton(1, 1, 2);
    Start("");
    EXPECT_EQ(Started(), std::vector<std::string>{kRotator});
    EXPECT_EQ(Sent(KV_IOCTL_GET_AGENT_WINDOW), 2u);
    ASSERT_EQ(desktop.sentMessages.size(), 1u);
    EXPECT_EQ(desktop.sentMessages[0].window, agent);
    EXPECT_EQ(desktop.sentMessages[0].message, kWmUser);
    EXPECT_EQ(desktop.sentMessages[0].wParam, 0x1000u);
}

struct AgentCase {
    int rbFunction, autoMode, touchMode;
    bool registered, alive;
    std::size_t queries, agentStarts;
};

class LogonAgentCases : public LogonDriverSteps, public ::testing::WithParamInterface<AgentCase> {};

TEST_P(LogonAgentCases, QueryAndStartOnlyWhatIsNeeded) {
    const AgentCase& c = GetParam();
    if (c.registered) {
        const WindowHandle w = desktop.AddWindow(" P-RBF");
        device.Driver().agent.AgentWindow = static_cast<std::int32_t>(w);
        if (!c.alive) desktop.DestroyWindow(w);
    }
    SetRightButton(c.rbFunction, c.autoMode, c.touchMode);
    Start("");
    EXPECT_EQ(Sent(KV_IOCTL_GET_AGENT_WINDOW), c.queries);
    EXPECT_EQ(process.execs.size(), 1u + c.agentStarts);
    EXPECT_TRUE(desktop.sentMessages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    RightButton, LogonAgentCases,
    ::testing::Values(AgentCase{1, 1, 4, false, false, 0, 0},  // automatic drag-drop: nothing
                      AgentCase{1, 0, 1, true, true, 1, 0},    // manual, running: left alone
                      AgentCase{1, 0, 1, false, false, 1, 1},  // manual, none: started
                      AgentCase{1, 0, 1, true, false, 1, 1},   // its window has gone
                      AgentCase{1, 1, 1, false, false, 1, 1}));  // automatic, none: not told

class LogonDriverFailure : public LogonDriverSteps,
                           public ::testing::WithParamInterface<std::tuple<bool, int, const char*>> {};

TEST_P(LogonDriverFailure, EndsTheRunAtOnce) {
    const auto& [loaded, port, box] = GetParam();
    device.SetLoaded(loaded);
    device.Params().DetectedPort = static_cast<std::uint8_t>(port);
    Start("");
    EXPECT_EQ(BoxTexts(), std::string(box) + "|");
    EXPECT_EQ(desktop.messageBoxes[0].caption, kStartupTitle);
    EXPECT_TRUE(process.execs.empty());
    EXPECT_EQ(device.OpenHandleCount(), 0u);
    EXPECT_TRUE(clock.Waits().empty()) << "paused after a failure";
    EXPECT_FALSE(Main().Loaded());
    // The double-click values were applied before the driver steps.
    EXPECT_EQ(StoredDword("DoubleClickSpeed"), 500);
}

INSTANTIATE_TEST_SUITE_P(Driver, LogonDriverFailure,
                         ::testing::Values(std::make_tuple(false, 1, "Fail to open KVTOUCH.vxd!"),
                                           std::make_tuple(true, 0,
                                                           "TouchScreen Controller Not Found!")));

}  // namespace
}  // namespace kv::startup::test
