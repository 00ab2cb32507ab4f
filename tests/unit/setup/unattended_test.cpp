// "/SILENT" runs of KVSETUP and KVREMOVE: nothing shown, no restart, the
// outcome in the exit code and a failure's text in the log.
#include <gtest/gtest.h>

#include "remove/removal_window.h"
#include "setup/setup_program.h"
#include "setup/setupcommon/unattended.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_device.h"
#include "tests/unit/setup/setup_test_support.h"

namespace kv {
namespace {

TEST(Unattended, TheSilentSwitchIsAWholeWordInAnyCase) {
    const struct {
        const char* arguments;
        bool silent;
    } cases[] = {
        {"/SILENT", true},  {"/silent", true},       {"  /Silent  ", true}, {"/X /SILENT", true},
        {"/SILENT\t/X", true}, {"", false},          {"/SILENTLY", false},  {"SILENT", false},
        {"/SIL ENT", false}, {"\"/SILENT\"", false}, {"-SILENT", false},
    };
    for (const auto& c : cases) EXPECT_EQ(HasSilentSwitch(c.arguments), c.silent) << c.arguments;
}

struct MemoryLog : FailureLog {
    void Write(const std::string& text) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

struct QuietWorld : testing::SetupWorld {
    MemoryLog log;
    UnattendedDesktop quiet{desktop, log};
    SetupPorts quietPorts{registry, tree, ini, process, quiet, restart};
};

// True when the status window ever showed a text.
bool StatusShown(StatusWindow& status) { return !status.Form().Ctl("lblMsg").Caption().empty(); }

TEST(Unattended, SetupDoneAsksForARestartByItsExitCodeOnly) {
    QuietWorld w;
    w.AddEntry("0000", "PS2");
    w.AddSetupIni("VirtualButton=2\r\n");
    SetupProgram program(w.quietPorts, &w.quiet);
    EXPECT_EQ(program.Run(), kExitRestartNeeded);
    EXPECT_TRUE(w.desktop.messageBoxes.empty());
    EXPECT_TRUE(w.log.lines.empty());
    EXPECT_TRUE(w.restart.calls.empty());
    EXPECT_FALSE(StatusShown(program.Status()));
    EXPECT_EQ(w.Entry("0000", "MouseDriver"), "KVTOUCH.VXD") << "the installation itself ran";
}

TEST(Unattended, SetupFailuresGoToTheLogAndFailTheRun) {
    const struct {
        const char* what;
        bool productKey;
        bool infWritable;
        std::vector<std::string> log;
    } cases[] = {
        {"no product key", false, true, {"Fail to load data from Register File!"}},
        {"the INF cannot be written", true, false, {"Fail to config system registry!"}},
    };
    for (const auto& c : cases) {
        QuietWorld w;
        w.AddEntry("0000", "PS2");
        if (!c.productKey) w.registry.FailNext(FakeRegistry::Call::CreateKey, 5);
        if (!c.infWritable) w.ini.failWriteAt = 0;
        SetupProgram program(w.quietPorts, &w.quiet);
        EXPECT_EQ(program.Run(), kExitFailed) << c.what;
        EXPECT_EQ(w.log.lines, c.log) << c.what;
        EXPECT_TRUE(w.desktop.messageBoxes.empty()) << c.what;
        EXPECT_TRUE(w.restart.calls.empty()) << c.what;
        EXPECT_FALSE(StatusShown(program.Status())) << c.what;
    }
}

struct QuietRemoveWorld : QuietWorld {
    QuietRemoveWorld() { AddEntry("0000", "PS2"); }
    FakeDevice device;
    FakeProcessWait wait;
    FakeClock clock;
    RemovalWindow window{RemovePorts{quietPorts, device, wait, clock}, &quiet};
};

TEST(Unattended, RemovalExitCodes) {
    const struct {
        const char* what;
        bool productKey;
        std::deque<std::uint32_t> waits;
        int exitCode;
        std::vector<std::string> log;
        bool touchEntryLeft;
    } cases[] = {
        {"done", true, {kWaitObject0}, kExitRestartNeeded, {}, false},
        // Unattended, a remover that outlives the interactive ten seconds is
        // waited for without a question.
        {"a slow remover", true,
         [] {
             std::deque<std::uint32_t> waits(40, kWaitTimeout);
             waits.push_back(kWaitObject0);
             return waits;
         }(),
         kExitRestartNeeded, {}, false},
        {"the remover never ends", true, {}, kExitFailed, {"Fail to remove files! (WAIT_TIMEOUT)"}, true},
        {"no product key", false, {}, kExitFailed, {"Fail to load data from Register File!"}, true},
    };
    for (const auto& c : cases) {
        QuietRemoveWorld w;
        if (!c.productKey) w.registry.FailNext(FakeRegistry::Call::CreateKey, 5);
        w.wait.waitResults = c.waits;
        EXPECT_EQ(w.window.RunUnattended(), c.exitCode) << c.what;
        EXPECT_EQ(w.log.lines, c.log) << c.what;
        EXPECT_EQ(w.EntryExists("0000"), c.touchEntryLeft) << c.what;
        EXPECT_TRUE(w.desktop.messageBoxes.empty()) << c.what;
        EXPECT_TRUE(w.restart.calls.empty()) << c.what;
        EXPECT_FALSE(w.window.Form().Loaded()) << c.what;
        EXPECT_FALSE(StatusShown(w.window.Status())) << c.what;
        // No pause for a reader: only the agents' moment before the remover.
        int waited = 0;
        for (int ms : w.clock.Waits()) waited += ms;
        EXPECT_LE(waited, 3500) << c.what;
    }
}

}  // namespace
}  // namespace kv
