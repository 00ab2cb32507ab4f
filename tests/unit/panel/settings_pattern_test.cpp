// The behaviour the three settings dialogs share, run against each of them:
// one change per dialog, the request it must send and the summary it must
// refresh.
#include <algorithm>
#include <functional>
#include <ostream>

#include "tests/unit/panel/panel_fixture.h"

namespace kv::panel::test {
namespace {

struct DialogCase {
    const char* name;
    const char* button;  // on the main window
    ui::Form& (PanelProgram::*form)();
    std::uint32_t request;
    std::vector<std::size_t> fields;      // block offsets the request may change
    std::function<void(ui::Form&)> edit;  // a change a user makes
    std::function<void(ui::Form&)> undo;  // the way back to the sent value
    const char* summaryLabel;
    const char* summaryAfterEdit;

    friend void PrintTo(const DialogCase& c, std::ostream* os) { *os << c.name; }
};

class SettingsPatternTest : public PanelTest, public ::testing::WithParamInterface<DialogCase> {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        // Known starting values: drag-drop with the right button off,
        // touch-down sound 1000/20, speeds 10/10 slow.
        Driver().TouchMode = 4;
        Driver().RBFunction = 0;
        Driver().SoundMode = 2;
        Driver().SoundTone = 1000;
        Driver().SoundDuration = 20;
        Driver().MouseHSpeed = 10;
        Driver().MouseVSpeed = 10;
        Driver().Acceleration = 1;
        Driver().Bypass = 0;
        StartShown();
        device.ClearRequests();
    }
    ui::Form& OpenIt() { return Open(GetParam().button, (program.get()->*GetParam().form)()); }
};

TEST_P(SettingsPatternTest, OkWithoutAChangeSendsNothing) {
    ui::Form& dialog = OpenIt();
    EXPECT_FALSE(dialog.Ctl("cmdApply").Enabled());
    dialog.Ctl("cmdOK").UserClick();
    EXPECT_FALSE(dialog.Loaded());
    EXPECT_TRUE(Main().Visible());
    EXPECT_EQ(AllSent(), 0u);
}

TEST_P(SettingsPatternTest, MovingAwayAndBackDisablesApply) {
    ui::Form& dialog = OpenIt();
    GetParam().edit(dialog);
    EXPECT_TRUE(dialog.Ctl("cmdApply").Enabled());
    GetParam().undo(dialog);
    EXPECT_FALSE(dialog.Ctl("cmdApply").Enabled());
}

TEST_P(SettingsPatternTest, ApplySendsOneRequestChangingOnlyTheDialogsFields) {
    const auto driverBefore = BytesOf(Driver());
    ui::Form& dialog = OpenIt();
    GetParam().edit(dialog);
    dialog.Ctl("cmdApply").UserClick();

    const auto blocks = BlockRequests();
    ASSERT_EQ(blocks.size(), 1u);
    const auto& request = blocks[0];
    EXPECT_EQ(request.code, GetParam().request);
    ASSERT_EQ(request.input.size(), 82u);
    for (std::size_t offset : ChangedOffsets(driverBefore, request.input))
        EXPECT_NE(std::find(GetParam().fields.begin(), GetParam().fields.end(), offset),
                  GetParam().fields.end())
            << "byte " << offset << " changed by " << dialog.Name();
    EXPECT_FALSE(ChangedOffsets(driverBefore, request.input).empty());
    EXPECT_EQ(BytesOf(Driver()), request.input) << "the driver does not hold what was sent";
    EXPECT_EQ(MainCtl(GetParam().summaryLabel).Caption(), GetParam().summaryAfterEdit);
    EXPECT_FALSE(dialog.Ctl("cmdApply").Enabled());
    EXPECT_TRUE(dialog.Visible()) << "Apply closed the dialog";
}

TEST_P(SettingsPatternTest, OkAfterAChangeAppliesOnceAndCloses) {
    ui::Form& dialog = OpenIt();
    GetParam().edit(dialog);
    dialog.Ctl("cmdOK").UserClick();
    EXPECT_EQ(Sent(GetParam().request), 1u);
    EXPECT_EQ(BlockRequests().size(), 1u);
    EXPECT_FALSE(dialog.Loaded());
    EXPECT_TRUE(Main().Visible());
    EXPECT_EQ(MainCtl(GetParam().summaryLabel).Caption(), GetParam().summaryAfterEdit);
}

TEST_P(SettingsPatternTest, EnterAndEscapeAreOkAndCancel) {
    ui::Form& dialog = OpenIt();
    GetParam().edit(dialog);
    EXPECT_TRUE(dialog.PressCancel());
    EXPECT_FALSE(dialog.Loaded());
    EXPECT_EQ(AllSent(), 0u);
    ui::Form& again = OpenIt();
    GetParam().edit(again);
    EXPECT_TRUE(again.PressDefault());
    EXPECT_FALSE(again.Loaded());
    EXPECT_EQ(BlockRequests().size(), 1u);
}

TEST_P(SettingsPatternTest, CancelDropsEditsButKeepsWhatApplySent) {
    const std::string summaryBefore = MainCtl(GetParam().summaryLabel).Caption();
    ui::Form& dialog = OpenIt();
    GetParam().edit(dialog);
    dialog.Ctl("cmdCandel").UserClick();
    EXPECT_EQ(AllSent(), 0u);
    EXPECT_EQ(MainCtl(GetParam().summaryLabel).Caption(), summaryBefore);
    EXPECT_TRUE(Main().Visible());

    ui::Form& again = OpenIt();
    EXPECT_FALSE(again.Ctl("cmdApply").Enabled()) << "the cancelled edit came back";
    GetParam().edit(again);
    again.Ctl("cmdApply").UserClick();
    const auto applied = BytesOf(Driver());
    again.Ctl("cmdCandel").UserClick();
    EXPECT_EQ(BlockRequests().size(), 1u);
    EXPECT_EQ(BytesOf(Driver()), applied);
    EXPECT_EQ(BytesOf(Copy()), applied);
    EXPECT_EQ(MainCtl(GetParam().summaryLabel).Caption(), GetParam().summaryAfterEdit);

    // Reopened, the dialog shows the applied values: undoing is a change.
    ui::Form& third = OpenIt();
    EXPECT_FALSE(third.Ctl("cmdApply").Enabled());
    GetParam().undo(third);
    EXPECT_TRUE(third.Ctl("cmdApply").Enabled());
}

TEST_P(SettingsPatternTest, CloseBoxActsAsCancel) {
    ui::Form& dialog = OpenIt();
    GetParam().edit(dialog);
    dialog.UserClose();
    EXPECT_FALSE(dialog.Loaded());
    EXPECT_TRUE(Main().Visible());
    EXPECT_EQ(AllSent(), 0u);
}

TEST_P(SettingsPatternTest, DialogTakesTheMainCaptionAndHeader) {
    ui::Form& dialog = OpenIt();
    EXPECT_EQ(dialog.Caption(), " TouchScreen Control Panel #KV-PS2");
    EXPECT_EQ(dialog.Ctl("lblSystem").Caption(), "TouchScreen Control Panel Version 7.0.PS2");
    EXPECT_EQ(dialog.Ctl("lblOemTitle").Caption(), "Halvane");
    EXPECT_TRUE(dialog.Ctl("cmdOK").Default());
    EXPECT_TRUE(dialog.Ctl("cmdCandel").Cancel());
    EXPECT_EQ(dialog.Ctl("cmdApply").Caption(), "&Apply");
    EXPECT_EQ(dialog.Ctl("cmdCandel").Caption(), "&Cancel");
    EXPECT_EQ(dialog.Ctl("cmdOK").Caption(), "&OK");
    // Centred a little above the middle of the 1024 x 768 screen.
    EXPECT_EQ(dialog.Left(), 7680 - dialog.Width() / 2);
    EXPECT_EQ(dialog.Top(), 4896 - dialog.Height() / 2);
}

INSTANTIATE_TEST_SUITE_P(
    Panel, SettingsPatternTest,
    ::testing::Values(DialogCase{"MouseSpeed",
                                 "cmdMouseSpeed",
                                 &PanelProgram::MouseSpeed,
                                 KV_IOCTL_SET_MOUSE_SPEED,
                                 {47, 48, 49, 50},
                                 [](ui::Form& d) { d.Ctl("optAcceleration", 3).UserClick(); },
                                 [](ui::Form& d) { d.Ctl("optAcceleration", 1).UserClick(); },
                                 "lblMouseSpeed",
                                 "HS=50%, VS=50%, Acceleration=Fast"},
                      DialogCase{"FeedbackSound",
                                 "cmdFeedbackSound",
                                 &PanelProgram::FeedbackSound,
                                 KV_IOCTL_SET_SOUND,
                                 {41, 42, 43, 44, 45},
                                 [](ui::Form& d) { d.Ctl("optFeedbackSound", 4).UserClick(); },
                                 [](ui::Form& d) { d.Ctl("optFeedbackSound", 2).UserClick(); },
                                 "lblFeedbackSound",
                                 "Both Touch Down && Lift Off"},
                      DialogCase{"VirtualButton",
                                 "cmdVirtualButton",
                                 &PanelProgram::VirtualButton,
                                 KV_IOCTL_SET_TOUCH_MODE,
                                 {40, 53, 54, 55, 56, 57},
                                 [](ui::Form& d) { d.Ctl("optVirtualButton", 2).UserClick(); },
                                 [](ui::Form& d) { d.Ctl("optVirtualButton", 4).UserClick(); },
                                 "lblVirtualButton",
                                 "Lift Off Mode, RBF Disable"}),
    [](const ::testing::TestParamInfo<DialogCase>& info) { return info.param.name; });

}  // namespace
}  // namespace kv::panel::test
