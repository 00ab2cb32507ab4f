// The sound test from the keyboard: Space pressed and let go sounds like a
// press and a release of the mouse, however long the key repeats.
#include "tests/unit/panel/panel_fixture.h"

namespace kv::panel::test {
namespace {

using PanelKeyboard = PanelTest;

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

}  // namespace
}  // namespace kv::panel::test
