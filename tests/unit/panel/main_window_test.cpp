// The main window: what a user sees after a good start, and each way the
// start-up ends the program instead.
#include <functional>

#include "common/winutil/program_titles.h"
#include "tests/unit/panel/panel_fixture.h"

namespace kv::panel::test {
namespace {

TEST_F(PanelTest, StartShowsCaptionVersionAndTheFourSummariesReadFromTheDriver) {
    Driver().TouchMode = 4;
    Driver().RBFunction = 1;
    Driver().RBAutoMode = 1;
    Driver().SoundMode = 3;
    Driver().MouseHSpeed = 10;
    Driver().MouseVSpeed = 20;
    Driver().Acceleration = 2;
    Driver().Bypass = 0;
    StartShown();

    EXPECT_EQ(Main().Caption(), " TouchScreen Control Panel #KV-PS2");
    EXPECT_EQ(MainCtl("lblSystem").Caption(), "TouchScreen Control Panel Version 7.0.PS2");
    EXPECT_EQ(MainCtl("lblSerialPort").Caption(), "TouchScreen or Mouse found on PS/2 port");
    EXPECT_EQ(MainCtl("lblVirtualButton").Caption(),
              "Drag Drop Mode, RBF Enable ( Automatic Mode )");
    EXPECT_EQ(MainCtl("lblFeedbackSound").Caption(), "Lift Off Only");
    EXPECT_EQ(MainCtl("lblMouseSpeed").Caption(), "HS=50%, VS=100%, Acceleration=Medium");
    EXPECT_TRUE(desktop.messageBoxes.empty());
    // One open, one GetParams, nothing sent.
    ASSERT_EQ(device.Opens().size(), 1u);
    EXPECT_EQ(device.Opens()[0].path, "\\\\.\\KVTOUCH");
    ASSERT_EQ(AllSent(), 1u);
    EXPECT_EQ(device.Requests()[0].code, KV_IOCTL_GET_PARAMS);
}

TEST_F(PanelTest, Ps2LayoutPutsDetectionInTheSerialPortRowAndCalibrationInThePowerSaveRow) {
    ui::Form* designed = nullptr;
    program = std::make_unique<PanelProgram>(PanelPorts{device, registry, desktop, process});
    designed = &program->MainForm();
    const int designHeight = designed->Height();
    ASSERT_TRUE(program->Start());

    EXPECT_EQ(Main().Height(), designHeight - 600);
    EXPECT_EQ(Main().ScaleHeight(), 5520 - 600);
    ui::Control& shape = MainCtl("shpDetection");
    EXPECT_TRUE(shape.Visible());
    EXPECT_EQ(shape.Left(), 480);
    EXPECT_EQ(shape.Top(), 1500);
    ui::Control& detection = MainCtl("lblDetection");
    EXPECT_TRUE(detection.Visible());
    EXPECT_EQ(detection.Caption(), "Detection");
    EXPECT_EQ(detection.Left(), 960);
    EXPECT_EQ(detection.Top(), 1620);  // still 120 below its shape's top

    for (const char* hidden : {"cmdSerialPort", "cmdSleepTime", "lblSleepTime"}) {
        EXPECT_FALSE(MainCtl(hidden).Visible()) << hidden;
        EXPECT_FALSE(MainCtl(hidden).Enabled()) << hidden;
    }
    EXPECT_FALSE(MainCtl("shpSleepTime").Visible());
    for (const char* moved : {"cmdCalibration", "shpCalibration", "cmdSupport", "cmdExit"})
        EXPECT_EQ(MainCtl(moved).Top(), 3900) << moved;
    EXPECT_EQ(MainCtl("cboCalibration").Top(), 3960);
    for (const char* row : {"cmdVirtualButton", "cmdFeedbackSound", "cmdMouseSpeed"})
        EXPECT_TRUE(MainCtl(row).Visible() && MainCtl(row).Enabled()) << row;
}

TEST_F(PanelTest, StartCentresTheWindowAboveTheMiddleOfTheScreen) {
    StartShown();
    // 1024 x 768 pixels at 15 twips: H(15360) - H(width), H(9792) - H(height).
    EXPECT_EQ(Main().Left(), 7680 - Main().Width() / 2);
    EXPECT_EQ(Main().Top(), 4896 - Main().Height() / 2);
}

struct StartFailure {
    const char* name;
    std::function<void(PanelTest&, FakeRegistry&, FakeDevice&)> arrange;
    const char* text;
    const char* caption;
    bool deviceOpened;
};

class StartFailureTest : public PanelTest, public ::testing::WithParamInterface<StartFailure> {};

TEST_P(StartFailureTest, ShowsTheMessageEndsAndWritesNothing) {
    const StartFailure& failure = GetParam();
    failure.arrange(*this, registry, device);

    EXPECT_FALSE(Start());

    ASSERT_EQ(desktop.messageBoxes.size(), 1u);
    const auto& box = desktop.messageBoxes[0];
    EXPECT_EQ(box.text, failure.text);
    EXPECT_EQ(box.caption, failure.caption);
    EXPECT_EQ(box.flags, 0x1010u);  // system-modal, stop icon, OK
    EXPECT_EQ(desktop.beeps, 1);
    EXPECT_FALSE(Main().Loaded());
    EXPECT_EQ(ui::ActiveForm(), nullptr) << "the window was shown before the program ended";
    EXPECT_FALSE(StoredCalibrationMode().has_value()) << "the calibration mode was written";
    EXPECT_EQ(device.Opens().empty(), !failure.deviceOpened);
    EXPECT_EQ(device.OpenHandleCount(), 0u) << "the device was left open";
    EXPECT_LE(device.Closes().size(), 1u) << "the handle was closed twice";
    for (const auto& request : device.Requests())
        EXPECT_EQ(request.code, KV_IOCTL_GET_PARAMS) << "a Set request at start-up";
}

const char* const kLoadFailure = "Fail to load data from Register File!";

std::function<void(PanelTest&, FakeRegistry&, FakeDevice&)> WithoutValue(const char* name) {
    return [name](PanelTest&, FakeRegistry& registry, FakeDevice&) {
        registry.RegDeleteKeyA(kHkeyLocalMachine, kProductKey);
        for (const char* other : {"VenderName", "VenderStyle", "InstallPath", "WindowsPath",
                                  "SystemPath", "HardwareID"})
            if (std::string(other) != name)
                registry.SetString(kHkeyLocalMachine, kProductKey, other, "x");
    };
}

std::function<void(PanelTest&, FakeRegistry&, FakeDevice&)> WithNumber(const char* name) {
    return [name](PanelTest&, FakeRegistry& registry, FakeDevice&) {
        registry.SetDword(kHkeyLocalMachine, kProductKey, name, 1);
    };
}

INSTANTIATE_TEST_SUITE_P(
    Panel, StartFailureTest,
    ::testing::Values(
        StartFailure{"NoProductKey",
                     [](PanelTest&, FakeRegistry& r, FakeDevice&) {
                         r.RegDeleteKeyA(kHkeyLocalMachine, kProductKey);
                     },
                     kLoadFailure, kPanelTitle, false},
        StartFailure{"NoVenderName", WithoutValue("VenderName"), kLoadFailure, kPanelTitle, false},
        StartFailure{"NoVenderStyle", WithoutValue("VenderStyle"), kLoadFailure, kPanelTitle,
                     false},
        StartFailure{"NoInstallPath", WithoutValue("InstallPath"), kLoadFailure, kPanelTitle,
                     false},
        StartFailure{"NoWindowsPath", WithoutValue("WindowsPath"), kLoadFailure, kPanelTitle,
                     false},
        StartFailure{"NoSystemPath", WithoutValue("SystemPath"), kLoadFailure, kPanelTitle, false},
        StartFailure{"NoHardwareID", WithoutValue("HardwareID"), kLoadFailure, kPanelTitle, false},
        StartFailure{"VenderNameAsNumber", WithNumber("VenderName"), kLoadFailure, kPanelTitle,
                     false},
        StartFailure{"HardwareIDAsNumber", WithNumber("HardwareID"), kLoadFailure, kPanelTitle,
                     false},
        StartFailure{"DriverNotLoaded",
                     [](PanelTest&, FakeRegistry&, FakeDevice& d) { d.SetLoaded(false); },
                     "Fail to open KVTOUCH.vxd!", kPanelTitle, true},
        StartFailure{"NoController",
                     [](PanelTest&, FakeRegistry&, FakeDevice& d) { d.Params().DetectedPort = 0; },
                     "TouchScreen Controller Not Found!", kPanelTitle, true},
        StartFailure{"GetParamsFails",
                     [](PanelTest&, FakeRegistry&, FakeDevice& d) { d.SetRequestsFail(true); },
                     "TouchScreen Controller Not Found!", kPanelTitle, true}),
    [](const ::testing::TestParamInfo<StartFailure>& info) { return info.param.name; });

TEST_F(PanelTest, SecondStartActivatesTheFirstWindowAndTouchesNothingElse) {
    process.runningPrograms.insert(kPanelProgramId);
    desktop.AddWindow("another window");
    const WindowHandle first = desktop.AddWindow(kPanelTitle);

    EXPECT_FALSE(Start());

    EXPECT_EQ(desktop.foregrounded, std::vector<WindowHandle>{first});
    EXPECT_EQ(desktop.broughtToTop, std::vector<WindowHandle>{first});
    EXPECT_TRUE(desktop.messageBoxes.empty());
    EXPECT_EQ(registry.TotalCalls(), 0);
    EXPECT_TRUE(device.Opens().empty());
    EXPECT_FALSE(Main().Loaded());
}

TEST_F(PanelTest, SecondStartWithoutAFirstWindowSaysTheApplicationIsRunning) {
    process.runningPrograms.insert(kPanelProgramId);
    desktop.AddWindow(std::string(kPanelTitle) + " (old)");  // only starts with the caption

    EXPECT_FALSE(Start());

    ASSERT_EQ(desktop.messageBoxes.size(), 1u);
    EXPECT_EQ(desktop.messageBoxes[0].text,
              "Application is running!\r\rPlease find and select the running window from Taskbar.");
    EXPECT_EQ(desktop.messageBoxes[0].caption, kPanelTitle);
    EXPECT_TRUE(desktop.foregrounded.empty());
    EXPECT_TRUE(device.Opens().empty());
}

// ---- support button -----------------------------------------------------------

struct SupportCase {
    const char* name;
    bool cut;
    bool bitmap;
    const char* caption;
    bool enabled;
    const char* opens;  // form name, or "" when the button cannot be used
};

class SupportButtonTest : public PanelTest, public ::testing::WithParamInterface<SupportCase> {};

TEST_P(SupportButtonTest, FollowsTheVendorFiles) {
    const SupportCase& c = GetParam();
    if (c.cut) process.AddFile(std::string(kInstallPath) + "\\KVVender.Cut");
    if (c.bitmap) process.AddFile(std::string(kInstallPath) + "\\KVVender.Bmp");
    StartShown();

    ui::Control& support = MainCtl("cmdSupport");
    EXPECT_EQ(support.Caption(), c.caption);
    EXPECT_EQ(support.Enabled(), c.enabled);
    support.UserClick();
    if (std::string(c.opens).empty()) {
        EXPECT_TRUE(Main().Visible());
        EXPECT_FALSE(program->Support().Loaded() || program->About().Loaded());
        return;
    }
    ui::Form& opened = std::string(c.opens) == "frmSupport" ? program->Support() : program->About();
    ui::Form& other = &opened == &program->Support() ? program->About() : program->Support();
    EXPECT_TRUE(opened.Visible()) << c.opens;
    EXPECT_FALSE(other.Loaded());
    EXPECT_FALSE(Main().Visible());
    opened.Ctl("cmdOK").UserClick();
    EXPECT_FALSE(opened.Loaded());
    EXPECT_TRUE(Main().Visible());
}

INSTANTIATE_TEST_SUITE_P(
    Panel, SupportButtonTest,
    ::testing::Values(SupportCase{"CutFile", true, false, "", false, ""},
                      SupportCase{"CutWinsOverBitmap", true, true, "", false, ""},
                      SupportCase{"VendorBitmap", false, true, "S&upport", true, "frmSupport"},
                      SupportCase{"Neither", false, false, "&About", true, "frmAbout"}),
    [](const ::testing::TestParamInfo<SupportCase>& info) { return info.param.name; });

// ---- calibration mode -----------------------------------------------------------

struct CalibrationCase {
    const char* name;
    std::function<void(FakeRegistry&)> store;
    int shown;
};

class CalibrationModeTest : public PanelTest,
                            public ::testing::WithParamInterface<CalibrationCase> {};

TEST_P(CalibrationModeTest, StartShowsAValidModeAndWritesItBack) {
    GetParam().store(registry);
    StartShown();

    ui::Control& list = MainCtl("cboCalibration");
    ASSERT_EQ(list.ListCount(), 2);
    EXPECT_EQ(list.List(0), " 4 points, mode 1");
    EXPECT_EQ(list.List(1), " 4 points, mode 2");
    EXPECT_EQ(list.ListIndex(), GetParam().shown);
    EXPECT_EQ(StoredCalibrationMode(), GetParam().shown);
    EXPECT_EQ(program->Context().product.CalibrationMode, GetParam().shown);
}

void StoreMode(FakeRegistry& r, std::uint32_t mode) {
    r.SetDword(kHkeyLocalMachine, kProductKey, "CalibrationMode", mode);
}

INSTANTIATE_TEST_SUITE_P(
    Panel, CalibrationModeTest,
    ::testing::Values(CalibrationCase{"Missing", [](FakeRegistry&) {}, 0},
                      CalibrationCase{"Mode2", [](FakeRegistry& r) { StoreMode(r, 1); }, 1},
                      CalibrationCase{"Five", [](FakeRegistry& r) { StoreMode(r, 5); }, 0},
                      CalibrationCase{"Negative",
                                      [](FakeRegistry& r) { StoreMode(r, 0xFFFFFFFFu); }, 0},
                      CalibrationCase{"StoredAsText",
                                      [](FakeRegistry& r) {
                                          r.SetString(kHkeyLocalMachine, kProductKey,
                                                      "CalibrationMode", "1");
                                      },
                                      0}),
    [](const ::testing::TestParamInfo<CalibrationCase>& info) { return info.param.name; });

TEST_F(PanelTest, PickingACalibrationModeStoresItAtOnce) {
    StartShown();
    MainCtl("cboCalibration").UserSelect(1);
    EXPECT_EQ(StoredCalibrationMode(), 1);
    MainCtl("cboCalibration").UserSelect(0);
    EXPECT_EQ(StoredCalibrationMode(), 0);
}

// A user who may read the product key but not write it (a standard user:
// the program runs as invoked and a 64-bit program is not redirected to a
// virtual store) still gets a working panel; the mode picked holds for the
// session, unstored.
TEST_F(PanelTest, ADeniedWriteOfTheCalibrationModeLeavesThePanelWorking) {
    StoreMode(registry, 1);
    registry.beforeCall = [this](FakeRegistry::Call call, int) {
        if (call == FakeRegistry::Call::SetValue)
            registry.FailNext(call, FakeRegistry::kErrorAccessDenied);
    };
    StartShown();
    EXPECT_TRUE(Main().Visible());
    EXPECT_TRUE(desktop.messageBoxes.empty());
    EXPECT_EQ(MainCtl("cboCalibration").ListIndex(), 1);

    MainCtl("cboCalibration").UserSelect(0);
    EXPECT_EQ(program->Context().product.CalibrationMode, 0);
    EXPECT_EQ(StoredCalibrationMode(), 1);
    EXPECT_TRUE(desktop.messageBoxes.empty());
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

// ---- leaving, gestures, about -------------------------------------------------------

TEST_F(PanelTest, ExitClosesTheDeviceAndLeavesTheAgentRunning) {
    const WindowHandle agent = desktop.AddWindow(" P-RBF");
    Driver().RBFunction = 1;
    device.Driver().agent.AgentWindow = static_cast<std::int32_t>(agent);
    StartShown();
    device.ClearRequests();

    MainCtl("cmdExit").UserClick();

    EXPECT_FALSE(Main().Loaded());
    EXPECT_TRUE(ui::LoadedForms().empty());
    EXPECT_EQ(device.OpenHandleCount(), 0u);
    EXPECT_EQ(device.Closes().size(), 1u);
    EXPECT_TRUE(desktop.sentMessages.empty());
    EXPECT_EQ(AllSent(), 0u);
}

TEST_F(PanelTest, DrawTestOpensOnlyWithRightButtonAndShiftCtrlAltOnExit) {
    ui::Form drawTest("frmTest");
    StartShown();
    program->Main().Windows().drawTest = &drawTest;
    ui::Control& exitButton = MainCtl("cmdExit");

    const int shiftCtrlAlt = ui::kShiftMask | ui::kCtrlMask | ui::kAltMask;
    exitButton.UserMouseDown(ui::kRightButton, ui::kShiftMask | ui::kCtrlMask, 0, 0);
    exitButton.UserMouseDown(ui::kLeftButton, shiftCtrlAlt, 0, 0);
    exitButton.UserMouseDown(ui::kRightButton, 0, 0, 0);
    EXPECT_FALSE(drawTest.Loaded());
    EXPECT_TRUE(Main().Visible());

    exitButton.UserMouseDown(ui::kRightButton, shiftCtrlAlt, 0, 0);
    EXPECT_TRUE(drawTest.Visible());
    EXPECT_FALSE(Main().Visible());
    drawTest.Unload();
}

TEST_F(PanelTest, IconDoubleClickOpensAboutWithItsOwnCaption) {
    StartShown();
    MainCtl("imgIcon").UserDblClick();
    ui::Form& about = program->About();
    ASSERT_TRUE(about.Visible());
    EXPECT_FALSE(Main().Visible());
    EXPECT_EQ(about.Caption(), " About");
    EXPECT_EQ(about.Ctl("lblSystem").Caption(), "TouchScreen Control Panel Version 7.0.PS2");
    EXPECT_NE(about.Ctl("lblRights").Caption().find("All rights reserved"), std::string::npos);
    EXPECT_EQ(about.Ctl("lblOemTitle").Caption(), "Halvane");
    // The close box brings the main window back as OK does.
    about.UserClose();
    EXPECT_FALSE(about.Loaded());
    EXPECT_TRUE(Main().Visible());
}

// ---- any byte values in the driver's block ------------------------------------------------

class AnyBytesTest : public PanelTest, public ::testing::WithParamInterface<int> {};

TEST_P(AnyBytesTest, SummariesShowAndEveryDialogOpensWithoutChangingAnything) {
    const std::uint8_t v = static_cast<std::uint8_t>(GetParam());
    auto* raw = reinterpret_cast<std::uint8_t*>(&Driver());
    for (std::size_t offset = 40; offset <= 57; ++offset) raw[offset] = v;
    StartShown();

    const std::string n = std::to_string(v);
    EXPECT_EQ(MainCtl("lblVirtualButton").Caption(), "Invalid#" + n + "," + n + "," + n);
    EXPECT_EQ(MainCtl("lblFeedbackSound").Caption(), "Invalid#" + n);
    EXPECT_EQ(MainCtl("lblMouseSpeed").Caption(),
              v == 0 ? "HS=0%, VS=0%, Acceleration=Invalid#0" : "Enable Bypass Mode");

    device.ClearRequests();
    for (ui::Form* dialog :
         {&program->MouseSpeed(), &program->FeedbackSound(), &program->VirtualButton()}) {
        const char* button = dialog == &program->MouseSpeed()      ? "cmdMouseSpeed"
                             : dialog == &program->FeedbackSound() ? "cmdFeedbackSound"
                                                                   : "cmdVirtualButton";
        Open(button, *dialog);
        EXPECT_FALSE(dialog->Ctl("cmdApply").Enabled())
            << dialog->Name() << ": loading counted as a change";
        dialog->Ctl("cmdOK").UserClick();
        EXPECT_FALSE(dialog->Loaded());
        EXPECT_TRUE(Main().Visible());
    }
    EXPECT_EQ(AllSent(), 0u) << "a dialog sent a block nobody changed";
}

INSTANTIATE_TEST_SUITE_P(Panel, AnyBytesTest, ::testing::Values(0, 5, 255));

}  // namespace
}  // namespace kv::panel::test
