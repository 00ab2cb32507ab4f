// The draw test: opened by the gesture on "E&xit", the touch mode it
// borrows and gives back, pen selection, the button indicator, strokes and
// the two bar layouts.
#include <vector>

#include "tests/unit/panel/panel_fixture.h"

namespace kv::panel::test {
namespace {

constexpr int kShiftCtrlAlt = ui::kShiftMask | ui::kCtrlMask | ui::kAltMask;

class DrawTestTest : public PanelTest {
protected:
    ui::Form& OpenTest() {
        MainCtl("cmdExit").UserMouseDown(ui::kRightButton, kShiftCtrlAlt, 0, 0);
        ui::Form& test = program->Test().Form();
        EXPECT_TRUE(test.Visible()) << "the gesture did not open the draw test";
        return test;
    }
    ui::Form& Test() { return program->Test().Form(); }
    ui::Control& Ctl(const char* name, int index = -1) { return Test().Ctl(name, index); }
    const std::vector<ui::DrawOp>& Drawn() {
        return static_cast<ui::HeadlessPeer*>(Test().Peer())->Drawing(Ctl("picHome"));
    }
    std::vector<std::uint8_t> ModesSent() {
        std::vector<std::uint8_t> modes;
        for (const auto& r : device.RequestsWithCode(KV_IOCTL_SET_TOUCH_MODE))
            modes.push_back(r.input[offsetof(TouchParams, TouchMode)]);
        return modes;
    }
};

TEST_F(DrawTestTest, OpensFullScreenInDragDropWithPenTwoInBlueAndExitGivesTheModeBack) {
    Driver().TouchMode = 2;
    StartShown();
    device.ClearRequests();
    ui::Form& test = OpenTest();
    EXPECT_FALSE(Main().Visible());
    EXPECT_EQ(Main().MousePointer(), ui::kPointerDefault);
    EXPECT_EQ(test.BorderStyle(), ui::kBorderNone);
    EXPECT_EQ(test.ScaleWidth(), 1024 * 15);
    EXPECT_EQ(test.ScaleHeight(), 768 * 15);
    EXPECT_EQ(Driver().TouchMode, 4);
    EXPECT_EQ(ModesSent(), std::vector<std::uint8_t>{4});
    EXPECT_EQ(program->Test().SelectedWidth(), 1);
    EXPECT_EQ(program->Test().SelectedColor(), 3);
    EXPECT_EQ(Ctl("picHome").DrawWidth(), 2);
    EXPECT_EQ(Ctl("picHome").ForeColor(), ui::Rgb(0, 0, 255));
    EXPECT_EQ(Ctl("cmdClear").Caption(), "&Clear");
    EXPECT_EQ(Ctl("cmdExit").Caption(), "E&xit Test");

    Ctl("cmdExit").UserClick();
    EXPECT_FALSE(test.Loaded());
    EXPECT_TRUE(Main().Visible());
    EXPECT_EQ(Driver().TouchMode, 2);
    EXPECT_EQ(Copy().TouchMode, 2);
    EXPECT_EQ(ModesSent(), (std::vector<std::uint8_t>{4, 2}));
}

// Another window taking the focus and giving it back runs Activate again;
// only the first activation of an opening may take the mode to restore.
TEST_F(DrawTestTest, TouchModeComesBackWhateverTookTheFocusMeanwhile) {
    struct Case {
        const char* what;
        int refocusings;
        bool closeBox;
    };
    for (const Case& c : {Case{"plain open and exit", 0, false},
                          Case{"a message box took the focus once", 1, false},
                          Case{"three task switches, then the close box", 3, true}}) {
        SCOPED_TRACE(c.what);
        for (std::uint8_t mode : {1, 3}) {
            Driver().TouchMode = mode;
            StartShown();
            OpenTest();
            ui::Form box("frmMessage");  // what takes the focus
            for (int i = 0; i < c.refocusings; ++i) {
                box.Show();
                box.Hide();
                Test().UserActivate();
                EXPECT_EQ(Driver().TouchMode, 4) << "drag-drop lost on re-activation";
            }
            box.Unload();
            if (c.closeBox) Test().UserClose();
            else Ctl("cmdExit").UserClick();
            EXPECT_EQ(Driver().TouchMode, mode);
            EXPECT_EQ(ModesSent().back(), mode);
            program->MainForm().Unload();
            device.ClearRequests();
        }
    }
}

TEST_F(DrawTestTest, EachOpeningSavesTheModeInForceThenAndAPenChoiceSurvivesRefocus) {
    Driver().TouchMode = 1;
    StartShown();
    OpenTest();
    Ctl("lblWidth", 3).UserClick();
    ui::Form box("frmMessage");
    box.Show();
    box.Hide();
    Test().UserActivate();
    EXPECT_EQ(program->Test().SelectedWidth(), 3) << "a re-activation reset the user's pen";
    Ctl("cmdExit").UserClick();
    EXPECT_EQ(Driver().TouchMode, 1);

    Copy().TouchMode = 3;  // changed by the virtual-button dialog meanwhile
    OpenTest();
    EXPECT_EQ(program->Test().SelectedWidth(), 1) << "a new opening starts with the default pen";
    Ctl("cmdExit").UserClick();
    EXPECT_EQ(Driver().TouchMode, 3);
}

TEST_F(DrawTestTest, MainExitWithTheTestNeverShownSendsNoTouchMode) {
    StartShown();
    device.ClearRequests();
    Test().Load();  // loaded hidden, never activated
    MainCtl("cmdExit").UserClick();
    EXPECT_TRUE(ModesSent().empty());
}

TEST_F(DrawTestTest, WidthAndColourSelectionHighlightOneCellAndSetThePen) {
    struct Step {
        const char* array;
        int index;
        bool byMouseDown;
        int expectWidth, expectColor;
    };
    const std::vector<Step> steps = {
        {"lblWidth", 3, false, 3, 3},  {"lblWidth", 3, false, 3, 3},  // again: nothing
        {"lblWidth", 0, true, 0, 3},   {"lblColor", 1, false, 0, 1},
        {"lblColor", 1, true, 0, 1},   {"lblColor", 4, true, 0, 4},
        {"lblColor", 0, false, 0, 0},  {"lblWidth", 2, false, 2, 0},
    };
    StartShown();
    OpenTest();
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.array) + "(" + std::to_string(s.index) + ")");
        ui::Control& cell = Ctl(s.array, s.index);
        if (s.byMouseDown) cell.UserMouseDown(ui::kLeftButton, 0, 5, 5);
        else cell.UserClick();
        for (int i = 0; i < kWidthCount; ++i) {
            const bool selected = i == s.expectWidth;
            EXPECT_EQ(Ctl("lblWidth", i).ForeColor(), selected ? kYellow : ui::kBlack) << i;
            EXPECT_EQ(Ctl("lblWidth", i).BackColor(), selected ? kWidthSelectedBack : kWidthBack)
                << i;
        }
        for (int i = 0; i < kColorCount; ++i)
            EXPECT_EQ(Ctl("lblColor", i).BorderStyle(), i == s.expectColor ? 1 : 0) << i;
        EXPECT_EQ(Ctl("picHome").DrawWidth(), s.expectWidth + 1);
        EXPECT_EQ(Ctl("picHome").ForeColor(), kPenColors[s.expectColor]);
    }
}

TEST_F(DrawTestTest, ButtonIndicatorLightsTheLetterOfTheButtonHeld) {
    struct Case {
        int button;
        int element;  // -1: none
    };
    StartShown();
    OpenTest();
    for (const Case& c : {Case{1, 0}, Case{4, 1}, Case{2, 2}, Case{0, -1}, Case{3, -1},
                          Case{8, -1}}) {
        SCOPED_TRACE(c.button);
        Ctl("picHome").UserMouseDown(c.button, 0, 10, 10);
        for (int i = 0; i < kButtonCount; ++i)
            EXPECT_EQ(Ctl("lblButton", i).BackStyle(), i == c.element ? 1 : 0) << i;
        Ctl("picHome").UserMouseUp(c.button, 0, 10, 10);
        for (int i = 0; i < kButtonCount; ++i) EXPECT_EQ(Ctl("lblButton", i).BackStyle(), 0) << i;
    }
}

TEST_F(DrawTestTest, StrokeStartsWithAPointAndASecondButtonCarriesItOn) {
    using K = ui::DrawOp::Kind;
    StartShown();
    OpenTest();
    ui::Control& page = Ctl("picHome");
    page.UserMouseMove(0, 0, 50, 50);  // hovering draws nothing
    EXPECT_TRUE(Drawn().empty());

    page.UserMouseDown(ui::kLeftButton, 0, 10, 20);
    page.UserMouseMove(ui::kLeftButton, 0, 30, 40);
    page.UserMouseDown(ui::kRightButton, 0, 35, 45);
    EXPECT_EQ(Ctl("lblButton", 0).BackStyle(), 1);
    EXPECT_EQ(Ctl("lblButton", 2).BackStyle(), 1);
    page.UserMouseUp(ui::kRightButton, 0, 35, 45);  // either release ends the stroke
    EXPECT_FALSE(program->Test().Drawing());
    EXPECT_EQ(Ctl("lblButton", 0).BackStyle(), 1) << "the left button is still held";
    page.UserMouseMove(ui::kLeftButton, 0, 60, 60);

    const std::vector<ui::DrawOp>& ops = Drawn();
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_EQ(ops[0].kind, K::Point);
    EXPECT_EQ((std::vector<int>{ops[0].x1, ops[0].y1}), (std::vector<int>{10, 20}));
    EXPECT_EQ(ops[1].kind, K::Line);
    EXPECT_EQ((std::vector<int>{ops[1].x1, ops[1].y1, ops[1].x2, ops[1].y2}),
              (std::vector<int>{10, 20, 30, 40}));
    EXPECT_EQ(ops[2].kind, K::Line) << "a second button continues, never restarts";
    EXPECT_EQ((std::vector<int>{ops[2].x1, ops[2].y1, ops[2].x2, ops[2].y2}),
              (std::vector<int>{30, 40, 35, 45}));
    for (const auto& op : ops) {
        EXPECT_EQ(op.color, ui::Rgb(0, 0, 255));
        EXPECT_EQ(op.width, 2);
    }

    Ctl("cmdClear").UserClick();
    EXPECT_TRUE(Drawn().empty());
}

// The top bar: icon centred vertically at its own margin, the title three
// margins on, Exit and Clear at the right edge. The bottom bar: groups
// packed from the right with the row's margin, a double gap between
// groups, and the help box taking what is left. Screen 1024 x 768.
TEST_F(DrawTestTest, BarsAreLaidOutFromTheirEdgesAndThePageFillsTheRest) {
    struct Expect {
        const char* name;
        int index, left, top, width, height;
    };
    StartShown();
    OpenTest();
    const std::vector<Expect> expected = {
        {"picHead", -1, 0, 0, 15360, 600},        {"imgIcon", -1, 30, 30, 480, 480},
        {"lblTitle", -1, 570, 82, 2760, 375},     {"cmdExit", -1, 14055, 30, 1215, 480},
        {"cmdClear", -1, 12810, 30, 1215, 480},   {"picHome", -1, 0, 600, 15360, 10410},
        {"picMesg", -1, 0, 11010, 15360, 510},    {"lblButton", 2, 14940, 60, 300, 330},
        {"lblButton", 1, 14580, 60, 300, 330},    {"lblButton", 0, 14220, 60, 300, 330},
        {"lblButtonName", -1, 13545, 105, 615, 240}, {"lblColor", 4, 13065, 60, 360, 330},
        {"lblColor", 0, 11385, 60, 360, 330},     {"lblColorName", -1, 10800, 105, 525, 240},
        {"lblWidth", 3, 10320, 60, 360, 330},     {"lblWidth", 0, 9060, 60, 360, 330},
        {"lblWidthName", -1, 8460, 105, 540, 240}, {"lblHelpBox", -1, 0, 0, 8340, 450},
        {"lblHelp", -1, 105, 105, 8130, 240},
    };
    for (const Expect& e : expected) {
        ui::Control& c = Ctl(e.name, e.index);
        EXPECT_EQ((std::vector<int>{c.Left(), c.Top(), c.Width(), c.Height()}),
                  (std::vector<int>{e.left, e.top, e.width, e.height}))
            << c.DesignName();
    }

    // A narrower screen: the groups keep their sizes, the help box shrinks
    // by exactly the width lost, the page follows the new height.
    Test().PeerGeometry(0, 0, 12000, 9000, 12000, 9000);
    EXPECT_EQ(Ctl("lblHelpBox").Width(), 8340 - 3360);
    EXPECT_EQ(Ctl("lblHelp").Width(), 8130 - 3360);
    EXPECT_EQ(Ctl("lblButton", 2).Left(), 14940 - 3360);
    EXPECT_EQ(Ctl("cmdExit").Left(), 14055 - 3360);
    EXPECT_EQ(Ctl("picHome").Height(), 9000 - 600 - 510);
    // Only the height changes: the bottom bar keeps its size, yet the page
    // must still end at its top.
    Test().PeerGeometry(0, 0, 12000, 8000, 12000, 8000);
    EXPECT_EQ(Ctl("picHome").Height(), 8000 - 600 - 510);
    EXPECT_EQ(Ctl("picMesg").Top(), 8000 - 510);
}

}  // namespace
}  // namespace kv::panel::test
