// The control panel's windows from the keyboard: where the focus opens, the
// main window getting it back, Esc on both information windows, Space on the
// sound test, and a dialog whose Apply disables itself.
#include "tests/unit/panel/panel_fixture.h"

namespace kv::panel::test {
namespace {

using PanelKeyboard = PanelTest;

std::string FocusOf(const ui::Form& form) {
    const ui::Control* c = form.ActiveControl();
    return c != nullptr ? c->DesignName() : "(form)";
}

TEST_F(PanelKeyboard, EachWindowOpensWithTheFocusOnItsFirstSetting) {
    StartShown();
    EXPECT_EQ(FocusOf(Main()), "cmdVirtualButton");
    struct Case {
        const char* button;
        ui::Form* dialog;
        const char* focus;
    };
    for (Case c : {Case{"cmdVirtualButton", &program->VirtualButton(), "optVirtualButton(4)"},
                   Case{"cmdFeedbackSound", &program->FeedbackSound(), "optFeedbackSound(2)"},
                   Case{"cmdMouseSpeed", &program->MouseSpeed(), "chkBypass"}}) {
        MainCtl(c.button).SetFocus();
        ui::Form& dialog = Open(c.button, *c.dialog);
        EXPECT_EQ(FocusOf(dialog), c.focus);
        EXPECT_TRUE(dialog.UserNavigationKey(ui::kKeyEscape, 0));
        EXPECT_FALSE(dialog.Loaded());
        EXPECT_EQ(FocusOf(Main()), c.button) << "the main window came back elsewhere";
    }
}

TEST_F(PanelKeyboard, TabEndsOnTheButtonRowAndApplyHandsTheFocusOnWhenDisabled) {
    Driver().Bypass = 0;
    StartShown();
    ui::Form& d = OpenMouseSpeed();
    d.Ctl("chkBypass").UserClick();
    std::vector<std::string> walk;
    for (int i = 0; i < 4; ++i) {
        d.UserNavigationKey(ui::kKeyTab, ui::kShiftMask);
        walk.push_back(FocusOf(d));
    }
    // Bypass greys the speed controls: back from the box straight to the row.
    EXPECT_EQ(walk, (std::vector<std::string>{"cmdApply", "cmdCandel", "cmdOK", "chkBypass"}));
    device.ClearRequests();
    EXPECT_TRUE(d.UserAccessKey('a', true));
    EXPECT_EQ(Sent(KV_IOCTL_SET_MOUSE_SPEED), 1u);
    EXPECT_FALSE(d.Ctl("cmdApply").Enabled());
    EXPECT_EQ(FocusOf(d), "chkBypass");  // not nowhere: Esc still closes
    EXPECT_TRUE(d.UserNavigationKey(ui::kKeyEscape, 0));
    EXPECT_FALSE(d.Loaded());
}

TEST_F(PanelKeyboard, SpaceOnTheSoundTestSoundsAtPressAndAtReleaseOnly) {
    Driver().SoundMode = 1;
    StartShown();
    ui::Form& d = OpenFeedbackSound();
    ui::Control& test = d.Ctl("cmdSoundTest");
    device.ClearRequests();
    test.UserKeyDown(ui::kKeySpace, 0);
    test.UserKeyDown(ui::kKeySpace, 0);  // the key repeats while held
    EXPECT_EQ(Sent(KV_IOCTL_SOUND_TEST), 1u);
    test.UserKeyUp(ui::kKeySpace, 0);
    EXPECT_EQ(Sent(KV_IOCTL_SOUND_TEST), 2u);
    test.UserKeyDown(ui::kKeyReturn, 0);
    test.UserKeyUp(ui::kKeyReturn, 0);
    test.UserKeyUp(ui::kKeySpace, 0);  // a release with no press before it
    EXPECT_EQ(Sent(KV_IOCTL_SOUND_TEST), 2u);
}

TEST_F(PanelKeyboard, EscClosesSupportAndAboutAlike) {
    const std::string bitmap = std::string(kInstallPath) + "\\KVVender.Bmp";
    process.AddFile(bitmap);
    StartShown();
    for (ui::Form* window : {&program->Support(), &program->About()}) {
        if (window == &program->About()) process.RemoveFile(bitmap);
        MainCtl("cmdSupport").UserClick();
        ASSERT_TRUE(window->Visible()) << window->Name();
        EXPECT_TRUE(window->UserNavigationKey(ui::kKeyEscape, 0)) << window->Name();
        EXPECT_FALSE(window->Loaded()) << window->Name();
        EXPECT_TRUE(Main().Visible());
    }
}

}  // namespace
}  // namespace kv::panel::test
