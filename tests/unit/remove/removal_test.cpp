// KVREMOVE on headless forms against the fake platform: the window's
// layout, the wait for the file remover with every outcome, and what the
// removal leaves behind.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/winutil/companions.h"
#include "remove/file_remover.h"
#include "remove/removal_window.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_device.h"
#include "tests/unit/setup/setup_test_support.h"

namespace kv {
namespace {

using testing::kInstall;

constexpr const char* kWininit = "C:\\windows\\WININIT.INI";

struct RemoveWorld : testing::SetupWorld {
    RemoveWorld() {
        AddEntry("0000", "PS2");  // the touch driver's entry
        AddEntry("0001", "SERIAL");
        registry.CreateKey(kHkeyLocalMachine, "Enum\\BIOS\\*PNP0F13\\0C");
        registry.writes.clear();
        for (const char* file : kPackageFiles) process.AddFile(std::string(kInstall) + "\\" + file);
    }
    static constexpr const char* kPackageFiles[] = {"KVPANEL.exe", "KVSTART.exe", "KVRBTN.exe",
                                                    "KVSETUP.exe", "KVREMOVE.exe", "unins000.exe"};
    FakeDevice device;
    FakeProcessWait wait;
    FakeClock clock;
    RemovalWindow window{RemovePorts{ports, device, wait, clock}};
};

struct WaitCase {
    const char* what;
    std::deque<std::uint32_t> results;
    std::uint32_t startPid;
    NativeHandle handle;
    const char* failure;  // nullptr: the removal goes through
    int waits;
    std::deque<int> answers = {};   // of the boxes, first first
    bool filesGone = false;         // an earlier run's remover deleted the package
    unsigned failureFlags = kMbOk;  // the failure box's buttons
};

TEST(RemovalWindow, FileRemoverWaitOutcomes) {
    std::deque<std::uint32_t> nineTimeouts(9, kWaitTimeout);
    std::deque<std::uint32_t> lateEnd = nineTimeouts;
    lateEnd.push_back(kWaitObject0);
    std::deque<std::uint32_t> endsIn12s(11, kWaitTimeout);
    endsIn12s.push_back(kWaitObject0);
    constexpr int kRetry = 4, kCancel = 2;
    const WaitCase cases[] = {
        {"ends within the first second", {kWaitObject0}, 4242, 0x77, nullptr, 1},
        {"ends in the tenth second", lateEnd, 4242, 0x77, nullptr, 10},
        {"never ends, Cancel", {}, 4242, 0x77, "Fail to remove files! (WAIT_TIMEOUT)", 10, {kCancel}, false, 5},
        {"ends in the 12th second after Retry", endsIn12s, 4242, 0x77, nullptr, 12, {kRetry}},
        {"never ends, Retry twice then Cancel", {}, 4242, 0x77, "Fail to remove files! (WAIT_TIMEOUT)", 30,
         {kRetry, kRetry, kCancel}, false, 5},
        {"no remover and no files: an earlier run removed them", {}, 0, 0x77, nullptr, 0, {}, true},
        {"wait fails", {kWaitTimeout, kWaitFailed}, 4242, 0x77, "Fail to remove files! (WAIT_FAILED)", 2},
        {"abandoned", {kWaitAbandoned}, 4242, 0x77, "Fail to remove files! (WAIT_ABANDONED)", 1},
        {"cannot start", {}, 0, 0x77, "Fail to remove files! (Startup)", 0},
        {"cannot open the process", {}, 4242, 0, "Fail to remove files! (Startup)", 0},
    };
    for (const WaitCase& c : cases) {
        RemoveWorld w;
        w.wait.waitResults = c.results;
        w.wait.startPid = c.startPid;
        w.wait.processHandle = c.handle;
        w.desktop.messageBoxAnswers = c.answers;
        if (c.filesGone)
            for (const char* file : RemoveWorld::kPackageFiles) w.process.RemoveFile(std::string(kInstall) + "\\" + file);
        ASSERT_TRUE(w.window.Start());
        int eventsAtWait = -1;
        w.wait.onWait = [&] { eventsAtWait = ui::Headless().DoEventsCount(); };
        w.window.Form().Ctl("cmdYes").UserClick();

        EXPECT_EQ(w.wait.waits, c.waits) << c.what;
        EXPECT_EQ(w.wait.openHandles, 0) << c.what << ": handle left open";
        if (c.waits > 0) {
            EXPECT_GT(eventsAtWait, 0) << "events run before each wait";
            // The program path quoted (the folder has a blank), one second a wait.
            ASSERT_GE(w.wait.events.size(), 3u);
            EXPECT_EQ(w.wait.events[0], "start \"C:\\Program Files\\TouchScreen\\unins000.exe\" /SILENT 1");
            EXPECT_EQ(w.wait.events[1], "open 1048576 4242");
            EXPECT_EQ(w.wait.events[2], "wait 1000");
            EXPECT_EQ(w.wait.events.back(), "close") << c.what;
        }
        EXPECT_FALSE(w.window.Form().Loaded()) << c.what << ": the program ends";
        EXPECT_FALSE(w.window.Status().Form().Loaded()) << c.what;
        const std::size_t asked = c.answers.size();
        if (c.failure) {
            EXPECT_EQ(w.BoxTexts(), std::vector<std::string>(std::max<std::size_t>(asked, 1), c.failure))
                << c.what;
            EXPECT_EQ(w.desktop.messageBoxes[0].flags, c.failureFlags | 0x30u | kMbSystemModal);
            EXPECT_EQ(w.Entry("0000", "MouseType"), "PS2") << c.what << ": registry untouched";
            EXPECT_TRUE(w.tree.deleted.empty()) << c.what;
            EXPECT_TRUE(w.ini.writes.empty()) << c.what;
            EXPECT_TRUE(w.restart.calls.empty()) << c.what;
        } else {
            EXPECT_EQ(w.desktop.messageBoxes.size(), asked + 1) << c.what << ": the final box";
            EXPECT_FALSE(w.EntryExists("0000")) << c.what;
            EXPECT_EQ(w.ini.Value(kWininit, "rename", "NUL"), "C:\\windows\\KVREMOVE.exe") << c.what;
            EXPECT_EQ(w.restart.calls.size(), 1u) << c.what;
        }
    }
}

TEST(FileRemover, UnattendedItWaitsFiveMinutesWithoutAsking) {
    for (int endsAt : {300, 0}) {  // 0: never
        FakeProcessWait wait;
        FakeProcess files;
        wait.waitResults.assign(endsAt == 0 ? 0 : endsAt - 1, kWaitTimeout);
        if (endsAt) wait.waitResults.push_back(kWaitObject0);
        int asked = 0;
        RemoverWait options;
        options.unattended = true;
        options.waitAgain = [&] { return ++asked < 100; };
        const RemoverOutcome outcome = RunFileRemover(wait, files, kInstall, nullptr, options);
        EXPECT_EQ(outcome, endsAt ? RemoverOutcome::Finished : RemoverOutcome::WaitTimeout) << endsAt;
        EXPECT_EQ(wait.waits, 300) << endsAt;
        EXPECT_EQ(asked, 0) << "nobody is there to answer";
        EXPECT_EQ(wait.openHandles, 0);
    }
}

TEST(FileRemover, AMissingRemoverIsAFailureWhileAnyProgramFileRemains) {
    for (const char* left : {"KVPANEL.exe", "unins000.exe", "KVREMOVE.exe"}) {
        FakeProcessWait wait;
        FakeProcess files;
        wait.startPid = 0;
        files.AddFile(std::string(kInstall) + "\\" + left);
        EXPECT_EQ(RunFileRemover(wait, files, kInstall, nullptr), RemoverOutcome::Startup) << left;
    }
}

TEST(RemovalWindow, YesTellsTheAgentsToQuitAndRemovesTheConfiguration) {
    RemoveWorld w;
    const WindowHandle agent = w.desktop.AddWindow(" TouchScreen Right-Button #KV-PS2");
    const WindowHandle rotator = w.desktop.AddWindow("KVROTATE");
    w.device.Driver().agent.AgentWindow = static_cast<std::int32_t>(agent);
    w.device.Driver().rotator.RotatorWindow = static_cast<std::int32_t>(rotator);
    w.wait.waitResults = {kWaitObject0};
    std::string statusAtWait;
    bool statusClosed = false;
    w.wait.onWait = [&] {
        // The user tries to close the status window while the work goes on.
        ui::Form& status = w.window.Status().Form();
        status.UserClose();
        statusClosed = !status.Loaded();
        statusAtWait = status.Ctl("lblMsg").Caption();
    };
    ASSERT_TRUE(w.window.Start());
    w.window.Form().Ctl("cmdYes").UserClick();

    ASSERT_EQ(w.desktop.sentMessages.size(), 2u);
    EXPECT_EQ(w.desktop.sentMessages[0].window, agent);
    EXPECT_EQ(w.desktop.sentMessages[0].wParam, AgentClose);
    EXPECT_EQ(w.desktop.sentMessages[1].window, rotator);
    EXPECT_EQ(w.desktop.sentMessages[1].wParam, RotatorClose);
    EXPECT_EQ(statusAtWait, "Removing files from your system...");
    EXPECT_FALSE(statusClosed);
    // 3 s before the remover, 10 s after it.
    int waited = 0;
    for (int ms : w.clock.Waits()) waited += ms;
    EXPECT_GE(waited, 12500);
    EXPECT_LE(waited, 13500);

    EXPECT_EQ(w.ini.Value(kWininit, "rename", "NUL"), "C:\\windows\\KVREMOVE.exe");
    EXPECT_FALSE(w.EntryExists("0000"));
    EXPECT_EQ(w.Entry("0001", "MouseType"), "SERIAL");
    EXPECT_FALSE(w.registry.KeyExists(kHkeyLocalMachine, "Enum\\BIOS\\*PNP0F13"));
    // The product key goes last, with the vendor's keys it leaves empty.
    EXPECT_FALSE(w.registry.KeyExists(kHkeyLocalMachine, "SOFTWARE\\Halvane"));
    ASSERT_EQ(w.desktop.messageBoxes.size(), 1u);
    EXPECT_EQ(w.desktop.messageBoxes[0].text,
              "Removal is complete to uninstall TouchScreen drivers and utilities.\r\n\r\n"
              "The Windows must be restarted.");
    EXPECT_EQ(w.desktop.messageBoxes[0].caption, "TouchScreen Software Removal");
    EXPECT_EQ(w.desktop.messageBoxes[0].flags, kMbOk | 0x40u | kMbSystemModal);
    EXPECT_EQ(w.restart.calls.size(), 1u);
}

TEST(RemovalWindow, WithoutDriverOrAgentsNothingIsSentAndTheRemovalGoesOn) {
    for (bool loaded : {true, false}) {
        RemoveWorld w;
        w.device.SetLoaded(loaded);
        w.wait.waitResults = {kWaitObject0};
        ASSERT_TRUE(w.window.Start());
        w.window.Form().Ctl("cmdYes").UserClick();
        EXPECT_TRUE(w.desktop.sentMessages.empty());
        EXPECT_EQ(w.desktop.messageBoxes.size(), 1u) << "only the final box";
        EXPECT_EQ(w.restart.calls.size(), 1u);
    }
}

TEST(RemovalWindow, NoEndsWithoutAnyChange) {
    RemoveWorld w;
    ASSERT_TRUE(w.window.Start());
    const int calls = w.registry.TotalCalls();
    w.window.Form().Ctl("cmdNo").UserClick();
    EXPECT_FALSE(w.window.Form().Loaded());
    EXPECT_TRUE(w.wait.events.empty());
    EXPECT_EQ(w.registry.TotalCalls(), calls);
    EXPECT_TRUE(w.ini.writes.empty());
    EXPECT_TRUE(w.restart.calls.empty());
}

TEST(RemovalWindow, QuestionAndLayout) {
    RemoveWorld w;
    ASSERT_TRUE(w.window.Start());
    ui::Form& f = w.window.Form();
    EXPECT_EQ(f.Caption(), "TouchScreen Software Removal");
    EXPECT_EQ(f.Ctl("lblSystem").Caption(), "TouchScreen Software Removal Version 7.0.PS2");
    EXPECT_EQ(f.Ctl("lblAsk").Caption(),
              "Are you sure you want to completely remove TouchScreen V.7.0.PS2 and all of its "
              "components?");
    const ui::Control& yes = f.Ctl("cmdYes");
    const ui::Control& no = f.Ctl("cmdNo");
    const ui::Control& shape = f.Ctl("shpRemoval");
    const int inner = f.ScaleWidth();
    EXPECT_EQ(shape.Left(), (inner - shape.Width()) / 2);
    // 6645 - 1.5 * 1095 - 1095 = 3907.5 rounds to 3908 before it is halved.
    ASSERT_EQ(inner, 6645);
    EXPECT_EQ(yes.Left(), 1954);
    EXPECT_EQ(no.Left(), 1954 + 1642);
    // The etched line: above the buttons, wider than the shape, its light half just below.
    const ui::Control& shadow = f.Ctl("linEtchShadow");
    const ui::Control& light = f.Ctl("linEtchHighlight");
    EXPECT_LT(shadow.Top(), yes.Top());
    EXPECT_LT(shadow.Left(), shape.Left());
    EXPECT_GT(light.Top(), shadow.Top());
    EXPECT_GT(light.Width(), shadow.Width());
    EXPECT_EQ(f.Left(), ui::ScreenWidthTwips() / 2 - f.Width() / 2);
    EXPECT_TRUE(f.Visible());
}

TEST(RemovalWindow, UnreadableProductInformationEndsTheProgram) {
    RemoveWorld w;
    w.registry.FailNext(FakeRegistry::Call::CreateKey, 5);
    EXPECT_FALSE(w.window.Start());
    EXPECT_FALSE(w.window.Form().Loaded());
    EXPECT_EQ(w.BoxTexts(), std::vector<std::string>{"Fail to load data from Register File!"});
    EXPECT_EQ(w.desktop.messageBoxes[0].caption, "TouchScreen Software Removal");
}

TEST(RemovalWindow, TheIconOpensAboutAndClosingItBringsTheQuestionBack) {
    RemoveWorld w;
    ASSERT_TRUE(w.window.Start());
    w.window.Form().Ctl("imgIcon").UserDblClick();
    ASSERT_NE(w.window.About(), nullptr);
    ui::Form& about = w.window.About()->Form();
    EXPECT_TRUE(about.Visible());
    EXPECT_FALSE(w.window.Form().Visible());
    EXPECT_EQ(about.Ctl("lblSystem").Caption(), "TouchScreen Software Removal Version 7.0.PS2");
    EXPECT_EQ(about.Ctl("lblOemTitle").Caption(), "Halvane");
    about.Ctl("cmdOK").UserClick();
    EXPECT_TRUE(w.window.Form().Visible());
    EXPECT_EQ(ui::Headless().ScreenMousePointer(), ui::kPointerDefault);
}

TEST(RemovalWindow, KeysOnTheFreshQuestionAnswerNo) {
    for (int key : {ui::kKeyReturn, ui::kKeyEscape}) {
        RemoveWorld w;
        ASSERT_TRUE(w.window.Start());
        ui::Form& f = w.window.Form();
        ASSERT_NE(f.ActiveControl(), nullptr);
        EXPECT_EQ(f.ActiveControl()->Name(), "cmdNo") << key;
        EXPECT_TRUE(f.UserNavigationKey(key, 0)) << key;
        EXPECT_TRUE(w.wait.events.empty()) << key << ": the removal started";
        EXPECT_FALSE(f.Loaded()) << key;
    }
}

}  // namespace
}  // namespace kv
