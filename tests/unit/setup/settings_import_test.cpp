// KVSETUP's settings import and start procedure against the fake registry:
// what is written, in what order and with what type; the vendor file; the
// closing box and the restart.
#include <gtest/gtest.h>

#include "setup/settings_import.h"
#include "setup/setup_program.h"
#include "tests/unit/setup/setup_test_support.h"

namespace kv {
namespace {

using testing::kInstall;
using testing::kProduct;
using Bytes = std::vector<std::uint8_t>;

constexpr const char* kAllSettings =
    "CalibrationMode=1\r\nVirtualButton=2\r\nRightButtonFunction=1\r\n"
    "RightButtonAutoMode=1\r\nRightButtonAutoSTime=2\r\nRightButtonAutoETime=4\r\n"
    "RightButtonAutoBeep=1\r\nFeedbackSound=3\r\nFeedbackTone=1000\r\nFeedbackDuration=20\r\n"
    "MouseHSpeed=20\r\nMouseVSpeed=10\r\nMouseAcceleration=2\r\nMouseBypass=0\r\n"
    "DoubleClickSpeed=500\r\nDoubleClickWidth=4\r\nDoubleClickHeight=6\r\nPanelDirection=7\r\n";

Bytes Stored(const testing::SetupWorld& w, const char* name) {
    const auto v = w.registry.GetValue(kHkeyLocalMachine, kProduct, name);
    return v ? v->data : Bytes{};
}

TEST(ImportSetupSettings, WritesEveryValueInOrderWithItsTypeAndBytes) {
    testing::SetupWorld w;
    w.AddSetupIni(kAllSettings);
    ImportSetupSettings(w.ports, w.product, "T");
    EXPECT_EQ(w.registry.writes,
              (std::vector<std::string>{"CalibrationMode:4", "VirtualButton:3", "RightButtonFunction:3",
                                        "RightButtonAutomatic:3", "FeedbackSound:3", "FeedbackTone:3",
                                        "FeedbackDuration:3", "MouseSpeed:3", "DoubleClickSpeed:4",
                                        "DoubleClickWidth:4", "DoubleClickHeight:4", "PanelDirection:3"}));
    EXPECT_EQ(Stored(w, "CalibrationMode"), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(Stored(w, "VirtualButton"), (Bytes{2}));
    EXPECT_EQ(Stored(w, "RightButtonAutomatic"), (Bytes{0x01, 0x02, 0x04, 0x01}));
    EXPECT_EQ(Stored(w, "FeedbackTone"), (Bytes{0xE8, 0x03}));
    EXPECT_EQ(Stored(w, "FeedbackDuration"), (Bytes{20, 0}));
    EXPECT_EQ(Stored(w, "MouseSpeed"), (Bytes{0x14, 0x0A, 0x02, 0x00}));
    EXPECT_EQ(Stored(w, "DoubleClickSpeed"), (Bytes{0xF4, 0x01, 0, 0}));
    EXPECT_EQ(Stored(w, "PanelDirection"), (Bytes{7}));
    EXPECT_TRUE(w.desktop.messageBoxes.empty());
    EXPECT_EQ(w.registry.OpenHandleCount(), 0u);
}

TEST(ImportSetupSettings, StoresOnlyWhatIsPresentAndInRange) {
    struct Case {
        const char* settings;
        std::vector<std::string> written;
    };
    const Case cases[] = {
        {"FeedbackTone=199\r\nFeedbackDuration=51\r\nPanelDirection=8\r\n", {}},
        {"FeedbackTone=200\r\n", {"FeedbackTone:3"}},
        {"FeedbackTone=5000\r\nFeedbackTone2=1\r\n", {"FeedbackTone:3"}},
        {"VirtualButton=2.5\r\nFeedbackSound=x\r\n", {"VirtualButton:3"}},
        {"DoubleClickSpeed=99999999999\r\nDoubleClickWidth=1E30\r\nCalibrationMode=-1\r\n", {}},
        // One of four parts missing or out of range: the four-byte value is not written.
        {"RightButtonAutoMode=1\r\nRightButtonAutoSTime=2\r\nRightButtonAutoETime=4\r\n", {}},
        {"MouseHSpeed=20\r\nMouseVSpeed=21\r\nMouseAcceleration=2\r\nMouseBypass=0\r\n", {}},
        {"MouseHSpeed=1\r\nMouseVSpeed=1\r\nMouseAcceleration=1\r\nMouseBypass=1\r\n", {"MouseSpeed:3"}},
    };
    for (const Case& c : cases) {
        testing::SetupWorld w;
        w.AddSetupIni(c.settings);
        ImportSetupSettings(w.ports, w.product, "T");
        EXPECT_EQ(w.registry.writes, c.written) << c.settings;
    }
}

TEST(ImportSetupSettings, NoFileOrNoKeyMeansNoImport) {
    testing::SetupWorld w;
    w.ini.SetFile(std::string(kInstall) + "\\setup.ini", kAllSettings);  // text but no file to open
    ImportSetupSettings(w.ports, w.product, "T");
    EXPECT_TRUE(w.registry.writes.empty());

    w.AddSetupIni(kAllSettings);
    w.registry.FailNext(FakeRegistry::Call::CreateKey, 5);
    ImportSetupSettings(w.ports, w.product, "T");
    EXPECT_TRUE(w.registry.writes.empty());
    EXPECT_EQ(w.ini.reads, 0);
}

TEST(ImportSetupSettings, AFailedWriteIsReportedAndTheNextValueStillWritten) {
    testing::SetupWorld w;
    w.AddSetupIni("VirtualButton=2\r\nFeedbackSound=3\r\n");
    w.registry.FailNext(FakeRegistry::Call::SetValue, 5);
    ImportSetupSettings(w.ports, w.product, "T");
    EXPECT_EQ(w.BoxTexts(), std::vector<std::string>{"Fail to save settings! (VirtualButton)"});
    EXPECT_EQ(Stored(w, "FeedbackSound"), (Bytes{3}));
}

std::string StoredText(const testing::SetupWorld& w, const char* name) {
    const Bytes b = Stored(w, name);
    return b.empty() ? "" : std::string(b.begin(), b.end() - 1);
}

TEST(SetupProgram, VendorFileTitleAndStyleOnlyWhenGiven) {
    struct Case {
        const char* oem;  // nullptr: no setup.oem
        const char* name;
        const char* style;
    };
    const Case cases[] = {
        {"[SETUP]\r\nTITLE=Acme Panels\r\nSTYLE=22140900\r\n", "Acme Panels", "22140900"},
        {"[SETUP]\r\nTITLE=\r\nSTYLE=22140900\r\n", "Halvane", "22140900"},
        {"[SETUP]\r\nTITLE=Acme\r\n", "Acme", "13200401"},
        {nullptr, "Halvane", "13200401"},
    };
    for (const Case& c : cases) {
        testing::SetupWorld w;
        if (c.oem) {
            w.process.AddFile(std::string(kInstall) + "\\setup.oem");
            w.ini.SetFile(std::string(kInstall) + "\\setup.oem", c.oem);
        }
        SetupProgram program(w.ports);
        program.Run();
        EXPECT_EQ(StoredText(w, "VenderName"), c.name);
        EXPECT_EQ(StoredText(w, "VenderStyle"), c.style);
    }
}

TEST(SetupProgram, RunsToTheClosingBoxAndTheRestart) {
    testing::SetupWorld w;
    w.AddSetupIni("VirtualButton=4\r\n");
    w.AddEntry("0000", "PS2");
    SetupProgram program(w.ports);
    program.Run();
    EXPECT_EQ(Stored(w, "VirtualButton"), (Bytes{4}));
    EXPECT_EQ(w.Entry("0000", "MouseDriver"), "KVTOUCH.VXD");
    ASSERT_EQ(w.desktop.messageBoxes.size(), 1u);
    EXPECT_EQ(w.desktop.messageBoxes[0].text,
              "Setup has finished installing TouchScreen drivers and utilities on your computer."
              "\r\n\r\nThe Windows must be restarted.");
    EXPECT_EQ(w.desktop.messageBoxes[0].caption, "TouchScreen Driver Installation");
    EXPECT_EQ(w.desktop.messageBoxes[0].flags, kMbOk | 0x40u | kMbSystemModal);
    EXPECT_EQ(w.restart.calls.size(), 1u);
    EXPECT_FALSE(program.Status().Form().Loaded());
    EXPECT_EQ(ui::Headless().ScreenMousePointer(), ui::kPointerDefault);
}

TEST(SetupProgram, UnreadableProductInformationEndsBeforeAnyChange) {
    testing::SetupWorld w;
    w.registry.SetDword(kHkeyLocalMachine, kProduct, "HardwareID", 1);  // a number, not text
    w.AddSetupIni(kAllSettings);
    w.AddEntry("0000", "PS2");
    w.registry.writes.clear();
    SetupProgram program(w.ports);
    program.Run();
    EXPECT_EQ(w.BoxTexts(), std::vector<std::string>{"Fail to load data from Register File!"});
    EXPECT_TRUE(w.registry.writes.empty());
    EXPECT_TRUE(w.ini.writes.empty());
    EXPECT_TRUE(w.restart.calls.empty());
    EXPECT_EQ(w.Entry("0000", "MouseType"), "PS2");
}

TEST(StatusWindow, GrowsWithItsTextAndSitsCentred) {
    ui::Headless().Reset();
    BusyCursor busy;
    StatusWindow status("T", 1, busy);
    status.ShowStatusMessage("Setup is updating your system...");
    ui::Form& form = status.Form();
    const ui::Control& picture = form.Ctl("imgMsg");
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.Caption(), "T");
    EXPECT_EQ(form.ScaleHeight(), 2 * picture.Height());
    EXPECT_EQ(picture.Top(), form.ScaleHeight() / 2 - picture.Height() / 2);

    status.ShowStatusMessage("one\r\ntwo\r\nthree\r\nfour\r\nfive\r\nsix");
    const ui::Control& label = form.Ctl("lblMsg");
    EXPECT_GT(label.Height(), 2 * picture.Height());
    EXPECT_EQ(form.ScaleHeight(), label.Height() + picture.Height() / 2);
    EXPECT_EQ(label.Top(), form.ScaleHeight() / 2 - label.Height() / 2);
    EXPECT_EQ(form.Left(), ui::ScreenWidthTwips() / 2 - form.Width() / 2);
    EXPECT_EQ(busy.Count(), 0);
}

TEST(BusyCursor, CountsBusyAndIdleAndPassesOtherCodesThrough) {
    ui::Headless().Reset();
    BusyCursor busy;
    busy.Set(kIdleCursor);
    EXPECT_EQ(busy.Count(), 0);
    busy.Set(kBusyCursor);
    busy.Set(kBusyCursor);
    busy.Set(kIdleCursor);
    EXPECT_EQ(ui::Headless().ScreenMousePointer(), ui::kPointerHourglass);
    busy.Set(5);
    EXPECT_EQ(ui::Headless().ScreenMousePointer(), 5);
    EXPECT_EQ(busy.Count(), 1);
    busy.Set(kIdleCursor);
    EXPECT_EQ(ui::Headless().ScreenMousePointer(), ui::kPointerDefault);
}

}  // namespace
}  // namespace kv
