// frmMouseSpeed: speeds, "Set Both", bypass greying and the acceleration
// group.
#include <algorithm>

#include "tests/unit/panel/panel_fixture.h"

namespace kv::panel::test {
namespace {

class MouseSpeedTest : public PanelTest {
protected:
    ui::Form& OpenWith(int h, int v, int accel, int bypass) {
        Driver().MouseHSpeed = static_cast<std::uint8_t>(h);
        Driver().MouseVSpeed = static_cast<std::uint8_t>(v);
        Driver().Acceleration = static_cast<std::uint8_t>(accel);
        Driver().Bypass = static_cast<std::uint8_t>(bypass);
        StartShown();
        device.ClearRequests();
        return OpenMouseSpeed();
    }
    ui::Control& H(ui::Form& d) { return d.Ctl("hscMouseHSpeed"); }
    ui::Control& V(ui::Form& d) { return d.Ctl("hscMouseVSpeed"); }
};

TEST_F(MouseSpeedTest, LoadShowsTheStoredValues) {
    ui::Form& d = OpenWith(7, 7, 3, 0);
    EXPECT_EQ(d.Ctl("frameBypass").Caption(), "  Bypass Mode");
    EXPECT_EQ(d.Ctl("frameAdjust").Caption(), "  Adjust Mode");
    EXPECT_EQ(d.Ctl("frameHSpeed").Caption(), "  Horizontal Speed  ");
    EXPECT_EQ(d.Ctl("frameVSpeed").Caption(), "  Vertical Speed  ");
    EXPECT_EQ(d.Ctl("frameAcceleration").Caption(), "  Acceleration  ");
    EXPECT_EQ(d.Ctl("chkBoth").Caption(), "Set Both Horizontal && Vertical ");
    EXPECT_EQ(H(d).Value(), 7);
    EXPECT_EQ(V(d).Value(), 7);
    EXPECT_EQ(d.Ctl("lblHS").Caption(), "35%");
    EXPECT_EQ(d.Ctl("lblVS").Caption(), "35%");
    EXPECT_EQ(d.Ctl("chkBypass").Value(), 0);
    const char* names[] = {"Slow", "Medium", "Fast", "Off"};
    for (int i = 1; i <= 4; ++i) {
        ui::Control& option = d.Ctl("optAcceleration", i);
        EXPECT_EQ(option.Caption(), names[i - 1]);
        EXPECT_EQ(option.Value(), i == 3 ? 1 : 0) << i;
        EXPECT_EQ(option.ForeColor(), i == 3 ? ui::kBlack : ui::kTeal) << i;
        EXPECT_TRUE(option.Enabled());
    }
    EXPECT_EQ(H(d).Min(), 1);
    EXPECT_EQ(H(d).Max(), 20);
    EXPECT_EQ(H(d).SmallChange(), 1);
    EXPECT_EQ(H(d).LargeChange(), 2);
    EXPECT_FALSE(d.Ctl("cmdApply").Enabled());
}

TEST_F(MouseSpeedTest, LabelsShowTheLoadedValueEvenAtTheBarsDesignValue) {
    ui::Form& d = OpenWith(1, 20, 1, 0);
    EXPECT_EQ(d.Ctl("lblHS").Caption(), "5%");
    EXPECT_EQ(d.Ctl("lblVS").Caption(), "100%");
}

// The mended start of "Set Both": checked exactly when the stored speeds
// agree, so loading never changes a speed.
struct BothCase {
    int h, v;
    int checked;
};

class SetBothStartTest : public MouseSpeedTest, public ::testing::WithParamInterface<BothCase> {};

TEST_P(SetBothStartTest, CheckedExactlyWhenTheStoredSpeedsAreEqual) {
    const BothCase c = GetParam();
    ui::Form& d = OpenWith(c.h, c.v, 1, 0);
    EXPECT_EQ(d.Ctl("chkBoth").Value(), c.checked);
    EXPECT_EQ(d.Ctl("chkBoth").ForeColor(), c.checked ? ui::kBlack : ui::kTeal);
    EXPECT_EQ(H(d).Value(), std::clamp(c.h, 1, 20));
    EXPECT_EQ(V(d).Value(), std::clamp(c.v, 1, 20));
    EXPECT_FALSE(d.Ctl("cmdApply").Enabled());
    d.Ctl("cmdOK").UserClick();
    EXPECT_EQ(AllSent(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Panel, SetBothStartTest,
                         ::testing::Values(BothCase{5, 12, 0}, BothCase{12, 5, 0},
                                           BothCase{9, 9, 1}, BothCase{0, 0, 1},
                                           BothCase{20, 30, 0}));

TEST_F(MouseSpeedTest, SetBothMakesEitherBarMoveTheOther) {
    ui::Form& d = OpenWith(10, 10, 1, 0);
    H(d).UserLineScroll(+1);
    EXPECT_EQ(V(d).Value(), 11);
    EXPECT_EQ(d.Ctl("lblVS").Caption(), "55%");
    EXPECT_EQ(d.Ctl("lblHS").Caption(), "55%");
    V(d).UserPageScroll(-1);
    EXPECT_EQ(H(d).Value(), 9);
    // While the thumb is dragged too.
    H(d).UserThumbTrack(16);
    EXPECT_EQ(V(d).Value(), 16);
    EXPECT_EQ(d.Ctl("lblVS").Caption(), "80%");
    H(d).UserThumbRelease();
    EXPECT_EQ(d.Ctl("lblHS").Caption(), "80%");
    EXPECT_TRUE(d.Ctl("cmdApply").Enabled());
    d.Ctl("cmdApply").UserClick();
    EXPECT_EQ(Driver().MouseHSpeed, 16);
    EXPECT_EQ(Driver().MouseVSpeed, 16);
}

TEST_F(MouseSpeedTest, WithoutSetBothTheBarsMoveAlone) {
    ui::Form& d = OpenWith(10, 10, 1, 0);
    d.Ctl("chkBoth").UserClick();
    EXPECT_EQ(d.Ctl("chkBoth").ForeColor(), ui::kTeal);
    H(d).UserLineScroll(+1);
    EXPECT_EQ(V(d).Value(), 10);
    // Checking it again synchronises nothing until a bar moves.
    d.Ctl("chkBoth").UserClick();
    EXPECT_EQ(d.Ctl("chkBoth").ForeColor(), ui::kBlack);
    EXPECT_EQ(V(d).Value(), 10);
    V(d).UserLineScroll(+1);
    EXPECT_EQ(H(d).Value(), 11);
}

TEST_F(MouseSpeedTest, BypassGreysTheSpeedControlsAndCountsAsAChange) {
    ui::Form& d = OpenWith(10, 10, 2, 0);
    d.Ctl("chkBypass").UserClick();
    std::vector<ui::Control*> speedControls{&d.Ctl("chkBoth"), &H(d), &V(d)};
    for (int i = 1; i <= 4; ++i) speedControls.push_back(&d.Ctl("optAcceleration", i));
    for (ui::Control* c : speedControls) EXPECT_FALSE(c->Enabled()) << c->DesignName();
    EXPECT_TRUE(d.Ctl("cmdApply").Enabled());

    // Greyed bars ignore the user.
    H(d).UserLineScroll(+1);
    EXPECT_EQ(H(d).Value(), 10);

    d.Ctl("chkBypass").UserClick();
    for (ui::Control* c : speedControls) EXPECT_TRUE(c->Enabled()) << c->DesignName();
    EXPECT_FALSE(d.Ctl("cmdApply").Enabled());

    d.Ctl("chkBypass").UserClick();
    d.Ctl("cmdApply").UserClick();
    EXPECT_EQ(Driver().Bypass, 1);
    EXPECT_EQ(MainCtl("lblMouseSpeed").Caption(), "Enable Bypass Mode");
}

TEST_F(MouseSpeedTest, StoredBypassStartsGreyed) {
    ui::Form& d = OpenWith(10, 10, 2, 1);
    EXPECT_EQ(d.Ctl("chkBypass").Value(), 1);
    EXPECT_FALSE(H(d).Enabled());
    EXPECT_FALSE(d.Ctl("optAcceleration", 2).Enabled());
    EXPECT_FALSE(d.Ctl("cmdApply").Enabled());
}

TEST_F(MouseSpeedTest, ClickingTheSelectedAccelerationChangesNothing) {
    ui::Form& d = OpenWith(10, 10, 2, 0);
    d.Ctl("optAcceleration", 2).UserClick();
    EXPECT_FALSE(d.Ctl("cmdApply").Enabled());
    EXPECT_EQ(d.Ctl("optAcceleration", 2).ForeColor(), ui::kBlack);
    // With a pending change it stays enabled.
    H(d).UserLineScroll(+1);
    d.Ctl("optAcceleration", 2).UserClick();
    EXPECT_TRUE(d.Ctl("cmdApply").Enabled());
}

TEST_F(MouseSpeedTest, PickingAnAccelerationMovesTheHighlight) {
    ui::Form& d = OpenWith(10, 10, 1, 0);
    d.Ctl("optAcceleration", 4).UserClick();
    EXPECT_EQ(d.Ctl("optAcceleration", 1).ForeColor(), ui::kTeal);
    EXPECT_EQ(d.Ctl("optAcceleration", 1).Value(), 0);
    EXPECT_EQ(d.Ctl("optAcceleration", 4).ForeColor(), ui::kBlack);
    d.Ctl("cmdApply").UserClick();
    EXPECT_EQ(Driver().Acceleration, 4);
    EXPECT_EQ(MainCtl("lblMouseSpeed").Caption(), "HS=50%, VS=50%, Acceleration=Off");
}

TEST_F(MouseSpeedTest, UnshowableStoredSpeedsAreSentBackUnlessMoved) {
    ui::Form& d = OpenWith(0, 255, 1, 0);
    EXPECT_EQ(H(d).Value(), 1);
    EXPECT_EQ(V(d).Value(), 20);
    EXPECT_EQ(d.Ctl("lblHS").Caption(), "5%");
    EXPECT_FALSE(d.Ctl("cmdApply").Enabled());

    d.Ctl("optAcceleration", 2).UserClick();
    d.Ctl("cmdApply").UserClick();
    EXPECT_EQ(Driver().MouseHSpeed, 0);
    EXPECT_EQ(Driver().MouseVSpeed, 255);
    EXPECT_EQ(Driver().Acceleration, 2);

    H(d).UserLineScroll(+1);
    EXPECT_TRUE(d.Ctl("cmdApply").Enabled());
    d.Ctl("cmdApply").UserClick();
    EXPECT_EQ(Driver().MouseHSpeed, 2);
    EXPECT_EQ(Driver().MouseVSpeed, 255);
}

TEST_F(MouseSpeedTest, AnyNonZeroBypassByteShowsCheckedAndIsKept) {
    ui::Form& d = OpenWith(10, 10, 1, 5);
    EXPECT_EQ(d.Ctl("chkBypass").Value(), 1);
    EXPECT_FALSE(H(d).Enabled());
    EXPECT_FALSE(d.Ctl("cmdApply").Enabled());
    d.Ctl("cmdOK").UserClick();
    EXPECT_EQ(AllSent(), 0u);
    EXPECT_EQ(Driver().Bypass, 5);
}

}  // namespace
}  // namespace kv::panel::test
