// Focus and keyboard on headless forms: where the focus goes when a form is
// shown and when the focused control is disabled or hidden, which controls
// take it, Tab order and option groups, Enter/Esc routing, access keys and
// the default border.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/headless.h"

using namespace kv::ui;

namespace {

// A settings dialog in small: a header picture, two framed option groups,
// a check box, a scroll bar, then OK (default), Cancel (cancel), Apply.
class Dialog : public ::testing::Test {
protected:
    void SetUp() override {
        Headless().Reset();
        f.Add(ControlKind::PictureBox, "picLogo");
        Control& left = f.Add(ControlKind::Frame, "frameLeft");
        Control& right = f.Add(ControlKind::Frame, "frameRight");
        for (int i = 1; i <= 3; ++i) {
            Control& o = f.Add(ControlKind::OptionButton, "optLeft", i, &left);
            o.Click = [this, i] { clicks.push_back("optLeft(" + std::to_string(i) + ")"); };
        }
        for (int i = 0; i <= 1; ++i) {
            Control& o = f.Add(ControlKind::OptionButton, "optRight", i, &right);
            o.Click = [this, i] { clicks.push_back("optRight(" + std::to_string(i) + ")"); };
        }
        f.Add(ControlKind::CheckBox, "chkBoth").SetCaption("Set &Both");
        f.Add(ControlKind::HScrollBar, "hscTone");
        for (const char* name : {"cmdOK", "cmdCandel", "cmdApply"}) {
            Control& b = f.Add(ControlKind::CommandButton, name);
            b.Click = [this, name] { clicks.push_back(name); };
        }
        f.Ctl("cmdOK").SetCaption("&OK");
        f.Ctl("cmdCandel").SetCaption("&Cancel");
        f.Ctl("cmdApply").SetCaption("&Apply");
        f.Ctl("cmdOK").SetDefault(true);
        f.Ctl("cmdCandel").SetCancel(true);
        f.Ctl("optLeft", 2).SetValue(1);
        f.Ctl("optRight", 1).SetValue(1);
        clicks.clear();
    }

    std::string Focus() const {
        const Control* c = f.ActiveControl();
        return c != nullptr ? c->DesignName() : "(form)";
    }
    Control* PeerFocus() const { return static_cast<HeadlessPeer*>(f.Peer())->Focus(); }
    std::vector<std::string> Walk(int steps, int shift) {
        std::vector<std::string> seen;
        for (int i = 0; i < steps; ++i) {
            f.UserNavigationKey(kKeyTab, shift);
            seen.push_back(Focus());
        }
        return seen;
    }

    Form f{"frmDialog"};
    std::vector<std::string> clicks;
};

TEST_F(Dialog, ShowingFocusesTheFirstControlThatTakesTheFocus) {
    f.Show();
    EXPECT_EQ(Focus(), "optLeft(2)");  // the picture is passed over
    EXPECT_EQ(PeerFocus(), &f.Ctl("optLeft", 2));
}

TEST_F(Dialog, TabVisitsEachStopOnceAndOnlyTheSelectedOptionOfAGroup) {
    f.Show();
    EXPECT_EQ(Walk(7, 0), (std::vector<std::string>{"optRight(1)", "chkBoth", "hscTone", "cmdOK",
                                                     "cmdCandel", "cmdApply", "optLeft(2)"}));
    EXPECT_EQ(Walk(2, kShiftMask), (std::vector<std::string>{"cmdApply", "cmdCandel"}));
}

TEST_F(Dialog, AGroupWithNothingSelectedIsEnteredAtItsFirstOption) {
    f.Ctl("optRight", 1).SetValue(0);
    f.Show();
    EXPECT_EQ(Walk(1, 0), (std::vector<std::string>{"optRight(0)"}));
}

TEST_F(Dialog, ArrowsStayInTheFrameAndSelectTheOptionTheyReach) {
    f.Show();
    struct Step {
        int key;
        const char* focus;
    };
    // Wrapping round the left frame's three options, never into the right frame.
    for (Step s : {Step{kKeyDown, "optLeft(3)"}, Step{kKeyDown, "optLeft(1)"},
                   Step{kKeyUp, "optLeft(3)"}, Step{kKeyRight, "optLeft(1)"},
                   Step{kKeyLeft, "optLeft(3)"}}) {
        EXPECT_TRUE(f.UserNavigationKey(s.key, 0));
        EXPECT_EQ(Focus(), s.focus);
        EXPECT_EQ(f.Find("optLeft", 3)->Value(), std::string(s.focus) == "optLeft(3)" ? 1 : 0);
    }
    EXPECT_EQ(clicks, (std::vector<std::string>{"optLeft(3)", "optLeft(1)", "optLeft(3)",
                                                "optLeft(1)", "optLeft(3)"}));
    EXPECT_EQ(f.Ctl("optRight", 1).Value(), 1);  // the other group untouched
}

TEST_F(Dialog, ArrowsPassOverADisabledOption) {
    f.Ctl("optLeft", 3).SetEnabled(false);
    f.Show();
    f.UserNavigationKey(kKeyDown, 0);
    EXPECT_EQ(Focus(), "optLeft(1)");
}

TEST_F(Dialog, ArrowsOnButtonsMoveAmongTheButtonsOfTheirContainer) {
    f.Show();
    f.Ctl("cmdApply").SetFocus();
    f.UserNavigationKey(kKeyRight, 0);
    EXPECT_EQ(Focus(), "chkBoth");  // check box, bar and buttons share the form
    f.UserNavigationKey(kKeyLeft, 0);
    EXPECT_EQ(Focus(), "cmdApply");
    f.Ctl("hscTone").SetFocus();
    EXPECT_FALSE(f.UserNavigationKey(kKeyRight, 0));  // the bar moves itself
}

TEST_F(Dialog, EnterPressesTheFocusedButtonElseTheDefaultAndEscTheCancelButton) {
    f.Show();
    struct Case {
        const char* focus;
        int key;
        const char* pressed;
    };
    for (Case c : {Case{"cmdCandel", kKeyReturn, "cmdCandel"},
                   Case{"cmdApply", kKeyReturn, "cmdApply"},
                   Case{"chkBoth", kKeyReturn, "cmdOK"}, Case{"hscTone", kKeyReturn, "cmdOK"},
                   Case{"cmdApply", kKeyEscape, "cmdCandel"},
                   Case{"chkBoth", kKeyEscape, "cmdCandel"}}) {
        clicks.clear();
        f.Ctl(c.focus).SetFocus();
        EXPECT_TRUE(f.UserNavigationKey(c.key, 0)) << c.focus;
        EXPECT_EQ(clicks, std::vector<std::string>{c.pressed}) << c.focus << " key " << c.key;
    }
}

TEST_F(Dialog, TheDefaultBorderFollowsTheFocusedButton) {
    f.Show();
    auto border = [&] {
        std::vector<std::string> with;
        for (const char* b : {"cmdOK", "cmdCandel", "cmdApply"})
            if (f.Ctl(b).ShowsDefaultBorder()) with.push_back(b);
        return with;
    };
    EXPECT_EQ(border(), std::vector<std::string>{"cmdOK"});
    f.Ctl("cmdApply").SetFocus();
    EXPECT_EQ(border(), std::vector<std::string>{"cmdApply"});
    f.UserNavigationKey(kKeyTab, 0);  // past the buttons: back on OK
    EXPECT_EQ(border(), std::vector<std::string>{"cmdOK"});
}

TEST_F(Dialog, AFocusedControlThatIsDisabledOrHiddenHandsTheFocusOn) {
    struct Case {
        const char* control;
        bool hide;
        const char* next;
    };
    for (Case c : {Case{"cmdApply", false, "optLeft(2)"}, Case{"chkBoth", true, "hscTone"},
                   Case{"cmdOK", false, "cmdCandel"}}) {
        f.Show();
        f.Ctl(c.control).SetFocus();
        if (c.hide) f.Ctl(c.control).SetVisible(false);
        else f.Ctl(c.control).SetEnabled(false);
        EXPECT_EQ(Focus(), c.next) << c.control;
        EXPECT_EQ(PeerFocus(), f.ActiveControl()) << c.control;
        f.Unload();
    }
}

TEST_F(Dialog, DisablingAFrameMovesTheFocusOutOfIt) {
    f.Show();
    f.Ctl("frameLeft").SetEnabled(false);
    EXPECT_EQ(Focus(), "optRight(1)");
}

TEST_F(Dialog, AccessKeysPressTheirControl) {
    f.Show();
    EXPECT_TRUE(f.UserAccessKey('a', true));
    EXPECT_EQ(clicks, std::vector<std::string>{"cmdApply"});
    EXPECT_EQ(Focus(), "cmdApply");
    EXPECT_TRUE(f.UserAccessKey('b', false));  // no Alt needed on a button
    EXPECT_EQ(f.Ctl("chkBoth").Value(), 1);
    EXPECT_FALSE(f.UserAccessKey('z', true));
    f.Ctl("cmdApply").SetEnabled(false);
    clicks.clear();
    EXPECT_FALSE(f.UserAccessKey('a', true));
    EXPECT_TRUE(clicks.empty());
}

TEST(AccessKey, IsTheLetterAfterASingleAmpersand) {
    Form f("frmKeys");
    Control& c = f.Add(ControlKind::CommandButton, "cmd");
    for (auto [caption, key] : std::vector<std::pair<std::string, char>>{
             {"S&upport", 'U'}, {"E&xit", 'X'}, {"Drag && Drop", 0}, {"A && &b", 'B'}, {"", 0},
             {"Trailing&", 0}}) {
        c.SetCaption(caption);
        EXPECT_EQ(c.AccessKey(), key) << caption;
    }
}

TEST(PictureFocus, OnlyAPictureThatHandlesKeysTakesTheFocusAndKeepsEveryKey) {
    Headless().Reset();
    Form f("frmCalibration");
    Control& logo = f.Add(ControlKind::PictureBox, "picLogo");
    Control& surface = f.Add(ControlKind::PictureBox, "picCalibration");
    Control& cancel = f.Add(ControlKind::CommandButton, "cmdCancel");
    cancel.SetCancel(true);
    int cancels = 0;
    cancel.Click = [&] { ++cancels; };
    std::vector<int> keys;
    surface.KeyDown = [&](int key, int) { keys.push_back(key); };
    EXPECT_FALSE(logo.CanFocus());
    EXPECT_TRUE(surface.CanFocus());
    f.Show();
    EXPECT_EQ(f.ActiveControl(), &surface);
    logo.SetFocus();  // refused
    EXPECT_EQ(f.ActiveControl(), &surface);
    for (int key : {kKeyEscape, kKeyTab, kKeyReturn, kKeyDown})
        EXPECT_FALSE(f.UserNavigationKey(key, 0)) << key;  // left to the surface
    EXPECT_FALSE(f.UserAccessKey('c', false));
    EXPECT_EQ(cancels, 0);
}

}  // namespace
