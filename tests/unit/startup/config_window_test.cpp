// The configuration window ("/SDC"): what it shows, when Apply is on, what
// Apply / OK / Cancel change, the test picture, stored values a bar cannot
// show, the About window, and the start-up failures of either mode.
#include <tuple>

#include "tests/unit/startup/startup_fixture.h"

namespace kv::startup::test {
namespace {

class ConfigWindow : public StartupTest {
protected:
    void Open() {
        ASSERT_TRUE(Start("/sdc")) << BoxTexts();
        ASSERT_TRUE(Main().Visible());
    }
    bool ApplyEnabled() { return Ctl("cmdApply").Enabled(); }
};

TEST_F(ConfigWindow, ShowsStoredAndSystemValuesAndAppliesNothingAtOpen) {
    StoreValues(300, 10, 12);
    mouse.doubleClickTime = 300;
    mouse.doubleClickWidth = 10;
    mouse.doubleClickHeight = 12;
    Open();
    EXPECT_EQ(Main().Caption(), kStartupTitle);
    EXPECT_EQ(Ctl("lblSystem").Caption(), "TouchScreen System Startup Version 7.0.PS2");
    EXPECT_EQ(Ctl("hscTT").Value(), 300);
    EXPECT_EQ(Ctl("lblTT").Caption(), "Speed: 300");
    EXPECT_EQ(Ctl("lblWW").Caption(), "Width: 10");
    EXPECT_EQ(Ctl("lblHH").Caption(), "Hight: 12");
    EXPECT_EQ(Ctl("lblSiTT").Caption(), "300");
    EXPECT_TRUE(Ctl("Frame1").Visible());
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_TRUE(mouse.calls.empty()) << "the window applied at open";
    // Both pictures lie on one spot in the middle of the test area.
    ui::Control& test = Ctl("picTest");
    EXPECT_EQ(Ctl("imgOFF").Left(), (test.ScaleWidth() - Ctl("imgOFF").Width()) / 2);
    EXPECT_EQ(Ctl("imgON").Top(), Ctl("imgOFF").Top());
}

TEST_F(ConfigWindow, ApplyStateFollowsBarsAndWhatWindowsUses) {
    const struct {
        const char* what;
        bool storeDesignValues;  // 500/32/32, which fires no Change at load
        unsigned systemTime;
        bool applyAtOpen;
    } cases[] = {
        {"stored = design, Windows differs: no handler runs", true, 400, false},
        {"stored differs, Windows agrees", false, 300, false},
        {"stored differs, Windows differs", false, 400, true},
    };
    for (const auto& c : cases) {
        TearDown();
        if (c.storeDesignValues) StoreValues(500, 32, 32);
        else StoreValues(300, 32, 32);
        mouse.doubleClickTime = c.systemTime;
        mouse.doubleClickWidth = mouse.doubleClickHeight = 32;
        Open();
        EXPECT_EQ(ApplyEnabled(), c.applyAtOpen) << c.what;
    }
    // Away and back again: off once more.
    Ctl("hscWW").UserLineScroll(+1);
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_EQ(Ctl("lblWW").Caption(), "Width: 33");
    mouse.doubleClickTime = 300;
    Ctl("cmdApply").UserClick();
    Ctl("hscHH").UserThumbTrack(40);
    EXPECT_EQ(Ctl("lblHH").Caption(), "Hight: 40") << "the label follows the thumb";
    EXPECT_TRUE(ApplyEnabled());
    Ctl("hscHH").UserThumbTrack(32);
    Ctl("hscHH").UserThumbRelease();
    EXPECT_FALSE(ApplyEnabled());
}

TEST_F(ConfigWindow, ApplyChangesWindowsStoresAndRereadsTheSystemValues) {
    mouse.doubleClickWidth = mouse.doubleClickHeight = 32;
    Open();
    Ctl("hscTT").UserPageScroll(+1);
    ASSERT_TRUE(ApplyEnabled());
    Ctl("cmdApply").UserClick();
    EXPECT_EQ(mouse.doubleClickTime, 550u);
    EXPECT_EQ(Ctl("lblSiTT").Caption(), "550");
    EXPECT_EQ(StoredDword("DoubleClickSpeed"), 550);
    EXPECT_EQ(MouseText("DoubleClickSpeed"), std::string("550\0", 4));
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_TRUE(Main().Loaded());
}

class ConfigWindowClose : public ConfigWindow,
                          public ::testing::WithParamInterface<std::tuple<const char*, bool, bool>> {
};

TEST_P(ConfigWindowClose, OkAppliesOnlyWhenApplyIsOnAndCancelNever) {
    const auto& [button, moveBar, applied] = GetParam();
    mouse.doubleClickWidth = mouse.doubleClickHeight = 32;
    Open();
    if (moveBar) Ctl("hscTT").UserLineScroll(-1);
    Ctl(button).UserClick();
    EXPECT_FALSE(Main().Loaded());
    EXPECT_EQ(!mouse.calls.empty(), applied);
    EXPECT_EQ(StoredDword("DoubleClickSpeed").has_value(), applied);
}

INSTANTIATE_TEST_SUITE_P(Buttons, ConfigWindowClose,
                         ::testing::Values(std::make_tuple("cmdOK", true, true),
                                           std::make_tuple("cmdOK", false, false),
                                           std::make_tuple("cmdCandel", true, false)));

TEST_F(ConfigWindow, StoredValuesOutsideTheBarsApplyWhatTheBarsShow) {
    StoreValues(5000, -7, 32);
    mouse.doubleClickTime = 5000;
    mouse.doubleClickWidth = -7;
    mouse.doubleClickHeight = 32;
    Open();
    EXPECT_EQ(Ctl("hscTT").Value(), 900);
    EXPECT_EQ(Ctl("lblTT").Caption(), "Speed: 900");
    EXPECT_EQ(Ctl("hscWW").Value(), 0);
    EXPECT_TRUE(ApplyEnabled()) << "the bars show other values than the stored ones";
    Ctl("cmdApply").UserClick();
    EXPECT_EQ(StoredDword("DoubleClickSpeed"), 900);
    EXPECT_EQ(StoredDword("DoubleClickWidth"), 0);
    EXPECT_EQ(mouse.doubleClickTime, 900u);
    EXPECT_EQ(Ctl("lblTT").Caption(), "Speed: 900");
    EXPECT_FALSE(ApplyEnabled());
}

TEST_F(ConfigWindow, EveryDoubleClickOnTheTestPictureToggles) {
    Open();
    ui::Control& on = Ctl("imgON");
    ui::Control& off = Ctl("imgOFF");
    EXPECT_TRUE(off.Visible());
    EXPECT_FALSE(on.Visible());
    EXPECT_EQ(Ctl("picTest").BackColor(), ui::Rgb(250, 250, 250));
    off.UserDblClick();
    EXPECT_TRUE(on.Visible() && on.Enabled());
    EXPECT_FALSE(off.Visible() || off.Enabled());
    EXPECT_EQ(Ctl("picTest").BackColor(), ui::Rgb(0, 0, 255));
    off.UserDblClick();  // hidden and disabled: nothing
    EXPECT_TRUE(on.Visible());
    on.UserDblClick();
    EXPECT_TRUE(off.Visible());
    EXPECT_EQ(Ctl("picTest").BackColor(), ui::Rgb(250, 250, 250));
}

TEST_F(ConfigWindow, AboutFromTheIconAndBack) {
    Open();
    Ctl("imgIcon").UserDblClick();
    ui::Form& about = program->About();
    ASSERT_TRUE(about.Visible());
    EXPECT_FALSE(Main().Visible());
    EXPECT_EQ(about.Caption(), " About");
    EXPECT_EQ(about.Ctl("lblSystem").Caption(), "TouchScreen System Startup Version 7.0.PS2");
    about.Ctl("cmdOK").UserClick();
    EXPECT_TRUE(Main().Visible());
}

TEST_F(StartupTest, LogonModeShowsOnlyTheTitleWindow) {
    bool seen = false;
    ui::Headless().SetDoEventsHook([&] {
        if (seen || !Main().Visible()) return;
        seen = true;
        EXPECT_EQ(Main().Height(), 2025);
        EXPECT_FALSE(Ctl("Frame1").Visible());
        EXPECT_FALSE(Ctl("Frame2").Visible());
        EXPECT_FALSE(Ctl("Shape1").Visible());
        EXPECT_TRUE(Ctl("picLogo").Visible());
    });
    EXPECT_FALSE(Start("/SDC x"));
    EXPECT_TRUE(seen) << "the title window was not up during the pause";
}

TEST_F(StartupTest, StartFailuresEndEitherModeBeforeAnythingIsApplied) {
    const struct {
        const char* arguments;
        bool running;  // another instance with no window to find
        const char* box;
    } cases[] = {
        {"", false, "Fail to load data from Register File!"},
        {"/SDC", false, "Fail to load data from Register File!"},
        {"/SDC", true,
         "Application is running!\r\rPlease find and select the running window from Taskbar."},
    };
    for (const auto& c : cases) {
        TearDown();
        desktop = FakeDesktop();
        registry.SetString(kHkeyLocalMachine, kProductKey, "HardwareID", "x");
        if (c.running) process.runningPrograms.insert(kStartupProgramId);
        else registry.SetValue(kHkeyLocalMachine, kProductKey, "HardwareID", kRegDword, {1, 0, 0, 0});
        EXPECT_FALSE(Start(c.arguments));
        EXPECT_EQ(BoxTexts(), std::string(c.box) + "|") << c.arguments;
        EXPECT_TRUE(mouse.calls.empty());
        EXPECT_TRUE(device.Opens().empty());
        EXPECT_FALSE(Main().Loaded());
        process.runningPrograms.clear();
    }
}

}  // namespace
}  // namespace kv::startup::test
