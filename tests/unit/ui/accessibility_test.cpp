// What a form tells screen readers about its controls, on headless forms:
// which controls it lists and in what order, each kind's role, states that
// follow the model (containers, focus, checks, the default border), names,
// values, default actions that act as a click, navigation and hit tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/accessibility.h"
#include "ui/form.h"
#include "ui/headless.h"

using namespace kv::ui;

namespace {

class Accessible : public ::testing::Test {
protected:
    void SetUp() override {
        Headless().Reset();
        f.SetCaption("Mouse Speed");
        f.Add(ControlKind::Shape, "shpBack").Move(0, 0, 6000, 3000);
        f.Add(ControlKind::Label, "lblTitle").SetCaption("Touch && &Go");
        f.Add(ControlKind::Image, "imgIcon");
        Control& speed = f.Add(ControlKind::Frame, "fraSpeed");
        speed.SetCaption("  &Speed  ");
        speed.Move(100, 500, 3000, 1500);
        f.Add(ControlKind::HScrollBar, "hscSpeed", -1, &speed).Move(100, 200, 2000, 255);
        Control& accel = f.Add(ControlKind::Frame, "fraAccel");
        accel.SetCaption("Acceleration");
        for (int i = 0; i < 2; ++i)
            f.Add(ControlKind::OptionButton, "optAccel", i, &accel).SetCaption(i == 0 ? "&Off" : "&High");
        f.Add(ControlKind::CheckBox, "chkBoth").SetCaption("Set &Both");
        f.Add(ControlKind::Label, "lblMode").SetCaption("Mode:");
        f.Add(ControlKind::ComboBox, "cboMode");
        f.Add(ControlKind::CommandButton, "cmdOK").SetCaption("&OK");
        f.Add(ControlKind::CommandButton, "cmdCancel").SetCaption("Cancel");
        f.Ctl("cmdOK").SetDefault(true);
        f.Ctl("cmdOK").Click = [this] { clicks.push_back("cmdOK"); };
        f.Ctl("chkBoth").Click = [this] { clicks.push_back("chkBoth"); };
        f.Ctl("cboMode").AddItem("Mode 1");
        f.Ctl("cboMode").AddItem("Mode 2");
    }

    std::vector<std::string> Listed() const {
        std::vector<std::string> names;
        for (const Control* c : AccessibleChildren(f)) names.push_back(c->DesignName());
        return names;
    }
    static std::string Name(const Control* c) { return c != nullptr ? c->DesignName() : "(none)"; }

    Form f{"frmMouseSpeed"};
    std::vector<std::string> clicks;
};

TEST_F(Accessible, EachKindHasItsRoleNameAndAction) {
    struct Row {
        const char* control;
        int index;
        AccessibleRole role;
        const char* name;
        const char* action;
    };
    const Row rows[] = {
        {"shpBack", -1, AccessibleRole::Graphic, "", ""},
        {"lblTitle", -1, AccessibleRole::StaticText, "Touch & Go", ""},
        {"imgIcon", -1, AccessibleRole::Graphic, "", ""},
        {"fraSpeed", -1, AccessibleRole::Grouping, "Speed", ""},
        // A bar has no caption: the frame it sits in names it.
        {"hscSpeed", -1, AccessibleRole::ScrollBar, "Speed", ""},
        {"optAccel", 1, AccessibleRole::RadioButton, "High", "Check"},
        {"chkBoth", -1, AccessibleRole::CheckButton, "Set Both", "Check"},
        // A list has none either: the label before it names it.
        {"cboMode", -1, AccessibleRole::ComboBox, "Mode:", ""},
        {"cmdOK", -1, AccessibleRole::PushButton, "OK", "Press"},
    };
    for (const Row& r : rows) {
        const Control& c = f.Ctl(r.control, r.index);
        EXPECT_EQ(RoleOf(c), r.role) << r.control;
        EXPECT_EQ(AccessibleName(c), r.name) << r.control;
        EXPECT_EQ(DefaultActionName(c), r.action) << r.control;
    }
}

TEST_F(Accessible, ALabelRightBeforeABarInItsContainerNamesItElseTheFrameDoes) {
    Control& bar = f.Ctl("hscSpeed");
    Control& inside = f.Add(ControlKind::Label, "lblSpeed", -1, &f.Ctl("fraSpeed"));
    inside.SetTabIndex(bar.TabIndex());
    EXPECT_EQ(AccessibleName(bar), "Speed") << "a label without a caption names nothing";
    EXPECT_EQ(NamedBy(bar), &f.Ctl("fraSpeed"));
    inside.SetCaption("Speed: 5");
    EXPECT_EQ(AccessibleName(bar), "Speed: 5");
    EXPECT_EQ(NamedBy(bar), &inside);

    Control& outside = f.Add(ControlKind::Label, "lblOutside");
    outside.SetCaption("Elsewhere");
    outside.SetTabIndex(bar.TabIndex());
    EXPECT_EQ(AccessibleName(bar), "Speed") << "a label of another container";

    f.Ctl("cboMode").SetTabIndex(0);
    EXPECT_EQ(NamedBy(f.Ctl("cboMode")), nullptr) << "no label before it, no frame around it";
    EXPECT_EQ(NamedBy(f.Ctl("lblMode")), nullptr) << "a label names itself";
}

TEST_F(Accessible, CaptionsLoseTheirAccessKeyMarks) {
    EXPECT_EQ(WithoutAccessKey("&Apply"), "Apply");
    EXPECT_EQ(WithoutAccessKey("Save && E&xit"), "Save & Exit");
    EXPECT_EQ(WithoutAccessKey("Trailing&"), "Trailing");
    EXPECT_EQ(WithoutAccessKey(""), "");
}

TEST_F(Accessible, ValuesAreTheBarPositionAndTheSelectedItem) {
    Control& bar = f.Ctl("hscSpeed");
    bar.SetMax(10);
    bar.SetValue(7);
    EXPECT_EQ(AccessibleValue(bar), "7");
    EXPECT_EQ(AccessibleValue(f.Ctl("cboMode")), "");
    f.Ctl("cboMode").SetListIndex(1);
    EXPECT_EQ(AccessibleValue(f.Ctl("cboMode")), "Mode 2");
    EXPECT_EQ(AccessibleValue(f.Ctl("lblTitle")), "");
}

TEST_F(Accessible, ListsShownControlsInTabOrderWithStableIds) {
    f.Ctl("cmdCancel").SetTabIndex(0);
    f.Ctl("fraAccel").SetVisible(false);  // hides both options with it
    EXPECT_EQ(Listed(), (std::vector<std::string>{"cmdCancel", "shpBack", "lblTitle", "imgIcon", "fraSpeed",
                                                  "hscSpeed", "chkBoth", "lblMode", "cboMode", "cmdOK"}));
    const Control& ok = f.Ctl("cmdOK");
    const int id = ChildIdOf(ok);
    EXPECT_EQ(ListedChild(f, id), &ok);
    f.Ctl("fraAccel").SetVisible(true);
    EXPECT_EQ(ChildIdOf(ok), id) << "showing other controls must not renumber a control";
    EXPECT_EQ(ListedChild(f, ChildIdOf(f.Ctl("optAccel", 0))), &f.Ctl("optAccel", 0));
    f.Ctl("optAccel", 0).SetVisible(false);
    EXPECT_EQ(ListedChild(f, ChildIdOf(f.Ctl("optAccel", 0))), nullptr) << "a hidden control";
    EXPECT_EQ(ListedChild(f, 0), nullptr);
    EXPECT_EQ(ListedChild(f, static_cast<long>(f.Controls().size()) + 1), nullptr);
}

TEST_F(Accessible, StatesFollowContainersChecksFocusAndTheDefaultBorder) {
    f.Show();
    Control& high = f.Ctl("optAccel", 1);
    Control& ok = f.Ctl("cmdOK");
    EXPECT_EQ(StateOf(high, true), kAccFocusable);
    EXPECT_EQ(StateOf(f.Ctl("lblTitle"), true), 0u) << "a label takes no focus";
    EXPECT_EQ(StateOf(ok, true), kAccFocusable | kAccDefault);

    high.SetValue(1);
    f.Ctl("fraAccel").SetEnabled(false);
    EXPECT_EQ(StateOf(high, true), kAccFocusable | kAccChecked | kAccUnavailable);
    f.Ctl("fraAccel").SetVisible(false);
    EXPECT_NE(StateOf(high, true) & kAccInvisible, 0u);

    f.Ctl("chkBoth").SetValue(2);
    EXPECT_EQ(StateOf(f.Ctl("chkBoth"), true) & (kAccChecked | kAccMixed), kAccMixed);

    // The focused button takes the default border from the Default one.
    f.Ctl("cmdCancel").SetFocus();
    EXPECT_EQ(StateOf(f.Ctl("cmdCancel"), true), kAccFocusable | kAccFocused | kAccDefault);
    EXPECT_EQ(StateOf(f.Ctl("cmdCancel"), false), kAccFocusable | kAccDefault)
        << "no focus while another window has the keyboard";
    EXPECT_EQ(StateOf(ok, true), kAccFocusable);

    f.SetEnabled(false);
    EXPECT_NE(StateOf(ok, true) & kAccUnavailable, 0u);
}

TEST_F(Accessible, DefaultActionsDoWhatAClickDoes) {
    f.Show();
    ASSERT_TRUE(DoDefaultAction(f.Ctl("cmdOK")));
    EXPECT_EQ(clicks, std::vector<std::string>{"cmdOK"});
    EXPECT_EQ(f.ActiveControl(), &f.Ctl("cmdOK")) << "a click focuses the button";

    ASSERT_TRUE(DoDefaultAction(f.Ctl("chkBoth")));
    EXPECT_EQ(f.Ctl("chkBoth").Value(), 1);
    EXPECT_EQ(DefaultActionName(f.Ctl("chkBoth")), "Uncheck");

    f.Ctl("optAccel", 0).SetValue(1);
    ASSERT_TRUE(DoDefaultAction(f.Ctl("optAccel", 1)));
    EXPECT_EQ(f.Ctl("optAccel", 1).Value(), 1);
    EXPECT_EQ(f.Ctl("optAccel", 0).Value(), 0) << "the group's other option is cleared";

    clicks.clear();
    f.Ctl("cmdOK").SetEnabled(false);
    EXPECT_FALSE(DoDefaultAction(f.Ctl("cmdOK")));
    EXPECT_FALSE(DoDefaultAction(f.Ctl("lblTitle"))) << "a label without a Click handler";
    f.Ctl("lblTitle").Click = [this] { clicks.push_back("lblTitle"); };
    EXPECT_EQ(DefaultActionName(f.Ctl("lblTitle")), "Click");
    EXPECT_TRUE(DoDefaultAction(f.Ctl("lblTitle")));
    EXPECT_EQ(clicks, std::vector<std::string>{"lblTitle"});
}

TEST_F(Accessible, NavigationWalksTheListedControls) {
    f.Ctl("imgIcon").SetVisible(false);
    EXPECT_EQ(Name(Navigate(f, nullptr, Navigation::First)), "shpBack");
    EXPECT_EQ(Name(Navigate(f, nullptr, Navigation::Last)), "cmdCancel");
    EXPECT_EQ(Name(Navigate(f, &f.Ctl("lblTitle"), Navigation::Next)), "fraSpeed") << "skips the hidden image";
    EXPECT_EQ(Name(Navigate(f, &f.Ctl("fraSpeed"), Navigation::Previous)), "lblTitle");
    EXPECT_EQ(Navigate(f, &f.Ctl("cmdCancel"), Navigation::Next), nullptr);
    EXPECT_EQ(Navigate(f, &f.Ctl("shpBack"), Navigation::Previous), nullptr);
    EXPECT_EQ(Navigate(f, &f.Ctl("imgIcon"), Navigation::Next), nullptr) << "from a control not listed";
}

TEST_F(Accessible, HitTestFindsTheInnermostControlAndPrefersControlsToShapes) {
    // Points are tested against the design rectangles in twips, among the
    // listed controls.
    auto at = [this](int x, int y) {
        std::vector<Control*> under;
        for (Control* c : AccessibleChildren(f)) {
            int left = c->Left(), top = c->Top();
            for (const Control* k = c->Container(); k != nullptr; k = k->Container()) {
                left += k->Left();
                top += k->Top();
            }
            if (x >= left && x < left + c->Width() && y >= top && y < top + c->Height()) under.push_back(c);
        }
        return Name(TopmostOf(under));
    };
    f.Ctl("lblTitle").Move(5000, 2500, 2000, 255);  // over the shape's corner
    EXPECT_EQ(at(300, 800), "hscSpeed") << "inside the frame";
    EXPECT_EQ(at(150, 1800), "fraSpeed");
    EXPECT_EQ(at(5500, 2600), "lblTitle") << "a label lying over a larger shape";
    EXPECT_EQ(at(5500, 100), "shpBack");
    f.Ctl("fraSpeed").SetVisible(false);
    EXPECT_EQ(at(300, 800), "shpBack") << "hidden controls are not hit";
    EXPECT_EQ(at(9000, 9000), "(none)");
}

}  // namespace
