// Events of controls: what fires, how often, in which order, and when user
// actions are ignored.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/form.h"
#include "ui/headless.h"

using namespace kv::ui;

namespace {

class ControlEvents : public ::testing::Test {
protected:
    void SetUp() override { Headless().Reset(); }
    Form form{"frmTest"};
    std::vector<std::string> log;
    void Record(Control& c) {
        c.Click = [this, &c] { log.push_back(c.DesignName() + ".Click"); };
        c.Change = [this, &c] { log.push_back(c.DesignName() + ".Change"); };
        c.Scroll = [this, &c] { log.push_back(c.DesignName() + ".Scroll"); };
    }
};

struct ValueCase {
    ControlKind kind;
    int value;
    const char* event;
};

TEST_F(ControlEvents, SettingTheSameValueTwiceFiresOnce) {
    const ValueCase cases[] = {
        {ControlKind::HScrollBar, 7, "Change"},
        {ControlKind::CheckBox, 1, "Click"},
        {ControlKind::OptionButton, 1, "Click"},
    };
    for (const auto& tc : cases) {
        log.clear();
        Control& c = form.Add(tc.kind, std::string("ctl") + KindName(tc.kind));
        c.SetMax(20);
        Record(c);
        c.SetValue(tc.value);
        c.SetValue(tc.value);
        ASSERT_EQ(log.size(), 1u) << KindName(tc.kind);
        EXPECT_EQ(log[0], c.Name() + "." + tc.event);
        EXPECT_EQ(c.Value(), tc.value);
    }
}

TEST_F(ControlEvents, ComboListIndexFiresClickOnlyOnChange) {
    Control& cbo = form.Add(ControlKind::ComboBox, "cboCalibration");
    Record(cbo);
    cbo.AddItem(" 4 points, mode 1");
    cbo.AddItem(" 4 points, mode 2");
    EXPECT_TRUE(cbo.SetListIndex(1));
    EXPECT_TRUE(cbo.SetListIndex(1));
    EXPECT_EQ(log, std::vector<std::string>{"cboCalibration.Click"});
    EXPECT_EQ(cbo.Text(), " 4 points, mode 2");
}

TEST_F(ControlEvents, ValueSetInAHandlerRunsTheNestedHandlerAtOnce) {
    // Two linked bars: A's Change moves B, whose Change runs inside A's.
    Control& a = form.Add(ControlKind::HScrollBar, "hscA");
    Control& b = form.Add(ControlKind::HScrollBar, "hscB");
    a.Change = [&] {
        log.push_back("A.begin");
        b.SetValue(a.Value());
        log.push_back("A.end");
    };
    b.Change = [&] {
        log.push_back("B");
        a.SetValue(b.Value());  // back to A: same value, so no recursion
    };
    a.SetValue(5);
    EXPECT_EQ(log, (std::vector<std::string>{"A.begin", "B", "A.end"}));
    EXPECT_EQ(b.Value(), 5);
}

TEST_F(ControlEvents, ThumbDragFiresScrollWhileMovingAndOneChangeAtTheEnd) {
    Control& hsc = form.Add(ControlKind::HScrollBar, "hscTone");
    hsc.SetMin(1);
    hsc.SetMax(20);
    Record(hsc);
    hsc.UserThumbTrack(4);
    hsc.UserThumbTrack(4);  // no movement: no Scroll
    hsc.UserThumbTrack(9);
    hsc.UserThumbRelease();
    hsc.UserThumbRelease();  // a second release moved nothing
    EXPECT_EQ(log, (std::vector<std::string>{"hscTone.Scroll", "hscTone.Scroll", "hscTone.Change"}));
    EXPECT_EQ(hsc.Value(), 9);
}

TEST_F(ControlEvents, ScrollBarStaysInItsRange) {
    Control& hsc = form.Add(ControlKind::HScrollBar, "hscTT");
    hsc.SetMin(100);  // value 0 moves up to the new minimum, with Change
    Record(hsc);
    hsc.SetMax(900);
    hsc.SetSmallChange(1);
    hsc.SetLargeChange(50);
    EXPECT_EQ(hsc.Value(), 100);
    hsc.UserLineScroll(-1);  // already at the minimum: nothing
    EXPECT_TRUE(log.empty());
    hsc.SetValue(880);
    hsc.UserPageScroll(+1);
    EXPECT_EQ(hsc.Value(), 900);
    hsc.UserPageScroll(+1);
    EXPECT_EQ(log.size(), 2u);  // 880 and 900; the last page moved nothing
    hsc.SetMax(500);            // a shrinking range pulls the value with it
    EXPECT_EQ(hsc.Value(), 500);
    EXPECT_EQ(log.back(), "hscTT.Change");
    hsc.SetValue(-5);
    EXPECT_EQ(hsc.Value(), 100);
}

TEST_F(ControlEvents, SettingAnOptionClearsItsGroupWithoutFiringTheirClicks) {
    Control& frame = form.Add(ControlKind::Frame, "frameAcceleration");
    Control& other = form.Add(ControlKind::Frame, "frameOther");
    for (int i = 1; i <= 4; ++i) Record(form.Add(ControlKind::OptionButton, "optAcceleration", i, &frame));
    Control& outside = form.Add(ControlKind::OptionButton, "optElsewhere", -1, &other);
    Record(outside);
    outside.SetValue(1);
    form.Ctl("optAcceleration", 2).SetValue(1);
    log.clear();

    form.Ctl("optAcceleration", 3).SetValue(1);
    EXPECT_EQ(log, std::vector<std::string>{"optAcceleration(3).Click"});
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(form.Ctl("optAcceleration", i).Value(), i == 3 ? 1 : 0) << i;
    EXPECT_EQ(outside.Value(), 1) << "an option in another container belongs to another group";

    log.clear();
    form.Ctl("optAcceleration", 3).SetValue(0);  // clearing fires nothing
    EXPECT_TRUE(log.empty());
}

TEST_F(ControlEvents, UserActionsOnOptionsAndCheckBoxes) {
    Control& chk = form.Add(ControlKind::CheckBox, "chkBoth");
    Control& opt = form.Add(ControlKind::OptionButton, "optVirtualButton", 1);
    Record(chk);
    Record(opt);
    chk.UserClick();
    chk.UserClick();
    EXPECT_EQ(chk.Value(), 0);
    opt.UserClick();
    opt.UserClick();  // picking the selected option again still reports it
    EXPECT_EQ(opt.Value(), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"chkBoth.Click", "chkBoth.Click",
                                             "optVirtualButton(1).Click",
                                             "optVirtualButton(1).Click"}));
}

TEST_F(ControlEvents, UnreachableControlsIgnoreUserActions) {
    struct Case {
        const char* why;
        void (*make_unreachable)(Form&, Control& frame, Control& target);
    };
    const Case cases[] = {
        {"disabled", [](Form&, Control&, Control& t) { t.SetEnabled(false); }},
        {"invisible", [](Form&, Control&, Control& t) { t.SetVisible(false); }},
        {"in a disabled frame", [](Form&, Control& f, Control&) { f.SetEnabled(false); }},
        {"in a hidden frame", [](Form&, Control& f, Control&) { f.SetVisible(false); }},
        {"on a disabled form", [](Form& form, Control&, Control&) { form.SetEnabled(false); }},
    };
    for (const auto& tc : cases) {
        Form f("frmCase");
        Control& frame = f.Add(ControlKind::Frame, "frameSpeed");
        Control& chk = f.Add(ControlKind::CheckBox, "chkBypass", -1, &frame);
        Control& hsc = f.Add(ControlKind::HScrollBar, "hscMouseHSpeed", -1, &frame);
        Control& cbo = f.Add(ControlKind::ComboBox, "cboRB", -1, &frame);
        Control& cmd = f.Add(ControlKind::CommandButton, "cmdApply", -1, &frame);
        cbo.AddItem("a");
        cmd.SetDefault(true);
        int events = 0;
        for (Control* c : {&chk, &hsc, &cbo, &cmd}) {
            c->Click = c->Change = c->Scroll = [&] { ++events; };
            c->MouseDown = [&](int, int, int, int) { ++events; };
            c->KeyDown = [&](int, int) { ++events; };
        }
        tc.make_unreachable(f, frame, chk);
        tc.make_unreachable(f, frame, hsc);
        tc.make_unreachable(f, frame, cbo);
        tc.make_unreachable(f, frame, cmd);
        for (Control* c : {&chk, &hsc, &cbo, &cmd}) {
            c->UserClick();
            c->UserMouseDown(kLeftButton, 0, 1, 1);
            c->UserKeyDown(kKeyReturn, 0);
        }
        hsc.UserScroll(10);
        hsc.UserLineScroll(1);
        cbo.UserSelect(0);
        EXPECT_FALSE(f.PressDefault()) << tc.why;
        EXPECT_EQ(events, 0) << tc.why;
        EXPECT_EQ(chk.Value(), 0) << tc.why;
        EXPECT_EQ(hsc.Value(), 0) << tc.why;
        EXPECT_EQ(cbo.ListIndex(), -1) << tc.why;

        // Values set by the program still fire: the greyed state only
        // stops the user.
        chk.SetValue(1);
        EXPECT_EQ(events, 1) << tc.why;
    }
}

TEST_F(ControlEvents, KeyPreviewGivesTheFormTheKeyFirst) {
    Control& pic = form.Add(ControlKind::PictureBox, "picCalibration");
    pic.KeyDown = [&](int key, int) { log.push_back("pic " + std::to_string(key)); };
    form.OnKeyDown = [&](int key, int) { log.push_back("form " + std::to_string(key)); };
    pic.UserKeyDown(kKeyEscape, 0);
    form.SetKeyPreview(true);
    pic.UserKeyDown(kKeyEscape, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"pic 27", "form 27", "pic 27"}));
}

TEST_F(ControlEvents, MouseEventsCarryButtonShiftAndPosition) {
    Control& cmd = form.Add(ControlKind::CommandButton, "cmdExit");
    int seen[4] = {};
    cmd.MouseDown = [&](int b, int s, int x, int y) {
        seen[0] = b;
        seen[1] = s;
        seen[2] = x;
        seen[3] = y;
    };
    cmd.UserMouseDown(kRightButton, kShiftMask | kCtrlMask | kAltMask, 30, 45);
    EXPECT_EQ(seen[0], 2);
    EXPECT_EQ(seen[1], 7);
    EXPECT_EQ(seen[2], 30);
    EXPECT_EQ(seen[3], 45);
}

TEST_F(ControlEvents, DefaultAndCancelButtonsAnswerEnterAndEscape) {
    Control& ok = form.Add(ControlKind::CommandButton, "cmdOK");
    Control& apply = form.Add(ControlKind::CommandButton, "cmdApply");
    Control& cancel = form.Add(ControlKind::CommandButton, "cmdCandel");
    Record(ok);
    Record(apply);
    Record(cancel);
    ok.SetDefault(true);
    apply.SetDefault(true);  // one default per form: OK gives it up
    cancel.SetCancel(true);
    EXPECT_FALSE(ok.Default());
    EXPECT_TRUE(form.PressDefault());
    EXPECT_TRUE(form.PressCancel());
    EXPECT_EQ(log, (std::vector<std::string>{"cmdApply.Click", "cmdCandel.Click"}));
}

TEST_F(ControlEvents, ListIndexFollowsTheList) {
    Control& cbo = form.Add(ControlKind::ComboBox, "cboRBAutoSTime");
    Record(cbo);
    EXPECT_EQ(cbo.ListIndex(), -1);
    EXPECT_FALSE(cbo.SetListIndex(0)) << "an empty list has no entry 0";
    for (const char* s : {"0.5", "1.0", "1.5", "2.0"}) cbo.AddItem(s);
    EXPECT_EQ(cbo.ListCount(), 4);
    EXPECT_EQ(cbo.List(3), "2.0");
    EXPECT_EQ(cbo.List(4), "");
    EXPECT_EQ(cbo.List(-1), "");
    EXPECT_FALSE(cbo.SetListIndex(4));
    EXPECT_FALSE(cbo.SetListIndex(-2));
    EXPECT_EQ(cbo.ListIndex(), -1);
    EXPECT_TRUE(log.empty());

    cbo.SetListIndex(2);
    cbo.RemoveItem(0);  // the selection moves with its entry
    EXPECT_EQ(cbo.ListIndex(), 1);
    EXPECT_EQ(cbo.Text(), "1.5");
    cbo.RemoveItem(1);  // removing the selected entry clears the selection
    EXPECT_EQ(cbo.ListIndex(), -1);
    EXPECT_EQ(cbo.Text(), "");
    cbo.SetListIndex(0);
    cbo.SetListIndex(-1);  // deselecting is a change too
    EXPECT_EQ(log.size(), 3u);
    cbo.Clear();
    EXPECT_EQ(cbo.ListCount(), 0);
    EXPECT_EQ(cbo.ListIndex(), -1);
    cbo.UserSelect(0);
    EXPECT_EQ(log.size(), 3u);
}

}  // namespace
