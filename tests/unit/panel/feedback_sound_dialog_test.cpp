// frmFeedbackSound: the sound modes, tone and duration bars, and the test
// button that sounds the shown tone through the driver.
#include <cstring>

#include "tests/unit/panel/panel_fixture.h"

namespace kv::panel::test {
namespace {

class FeedbackSoundTest : public PanelTest {
protected:
    ui::Form& OpenWith(int mode, int tone, int duration) {
        Driver().SoundMode = static_cast<std::uint8_t>(mode);
        Driver().SoundTone = static_cast<std::int16_t>(tone);
        Driver().SoundDuration = static_cast<std::int16_t>(duration);
        StartShown();
        device.ClearRequests();
        return OpenFeedbackSound();
    }

    struct Tested {
        std::int16_t tone, duration;
    };
    std::vector<Tested> SoundTests() const {
        std::vector<Tested> tests;
        for (const auto& r : device.RequestsWithCode(KV_IOCTL_SOUND_TEST)) {
            Tested t{};
            EXPECT_EQ(r.input.size(), 4u);
            std::memcpy(&t.tone, r.input.data(), 2);
            std::memcpy(&t.duration, r.input.data() + 2, 2);
            tests.push_back(t);
        }
        return tests;
    }
};

TEST_F(FeedbackSoundTest, LoadShowsTheModeToneAndDuration) {
    ui::Form& d = OpenWith(3, 1234, 33);
    EXPECT_EQ(d.Ctl("frameFeedbackSound").Caption(), "  Feedback Sound Option  ");
    EXPECT_EQ(d.Ctl("frameTone").Caption(), "  Tone  ");
    EXPECT_EQ(d.Ctl("frameDuration").Caption(), "  Duration  ");
    const char* captions[] = {" Silence ( No Sound )", " Touch Down Only", " Lift Off Only",
                              " Both Touch Down && Lift Off"};
    for (int i = 1; i <= 4; ++i) {
        ui::Control& option = d.Ctl("optFeedbackSound", i);
        EXPECT_EQ(option.Caption(), captions[i - 1]);
        EXPECT_EQ(option.Value(), i == 3 ? 1 : 0);
        EXPECT_EQ(option.ForeColor(), i == 3 ? ui::kBlack : ui::kTeal);
    }
    EXPECT_EQ(d.Ctl("hscTone").Value(), 1234);
    EXPECT_EQ(d.Ctl("lblTone").Caption(), "1234");
    EXPECT_EQ(d.Ctl("hscDuration").Value(), 33);
    EXPECT_EQ(d.Ctl("lblDuration").Caption(), "33");
    EXPECT_EQ(d.Ctl("cmdSoundTest").Caption(), "Touch Here to Test");
    EXPECT_FALSE(d.Ctl("cmdApply").Enabled());
}

TEST_F(FeedbackSoundTest, LabelsShowTheLoadedValueEvenAtTheBarsDesignValue) {
    ui::Form& d = OpenWith(1, 200, 10);
    EXPECT_EQ(d.Ctl("lblTone").Caption(), "200");
    EXPECT_EQ(d.Ctl("lblDuration").Caption(), "10");
}

TEST_F(FeedbackSoundTest, BarsStepByTheirSmallAndLargeChanges) {
    ui::Form& d = OpenWith(2, 1000, 20);
    ui::Control& tone = d.Ctl("hscTone");
    ui::Control& duration = d.Ctl("hscDuration");
    tone.UserLineScroll(+1);
    EXPECT_EQ(tone.Value(), 1001);
    tone.UserPageScroll(+1);
    EXPECT_EQ(tone.Value(), 1101);
    EXPECT_EQ(d.Ctl("lblTone").Caption(), "1101");
    duration.UserLineScroll(-1);
    EXPECT_EQ(duration.Value(), 19);
    duration.UserPageScroll(+1);
    EXPECT_EQ(duration.Value(), 24);
    EXPECT_EQ(d.Ctl("lblDuration").Caption(), "24");
    EXPECT_EQ(tone.Min(), 200);
    EXPECT_EQ(tone.Max(), 5000);
    EXPECT_EQ(duration.Min(), 10);
    EXPECT_EQ(duration.Max(), 50);
}

TEST_F(FeedbackSoundTest, LabelsFollowTheThumbWhileItIsDragged) {
    ui::Form& d = OpenWith(2, 1000, 20);
    d.Ctl("hscTone").UserThumbTrack(4321);
    EXPECT_EQ(d.Ctl("lblTone").Caption(), "4321");
    EXPECT_TRUE(d.Ctl("cmdApply").Enabled());
    d.Ctl("hscTone").UserThumbTrack(1000);
    EXPECT_FALSE(d.Ctl("cmdApply").Enabled());
    d.Ctl("hscDuration").UserThumbTrack(45);
    EXPECT_EQ(d.Ctl("lblDuration").Caption(), "45");
}

struct TestButtonCase {
    int stored;
    bool enabledAtLoad;
    int picked;
    bool enabledAfterApply;
};

class TestButtonTest : public FeedbackSoundTest,
                       public ::testing::WithParamInterface<TestButtonCase> {};

// The test button is usable only while silence is the mode in force: a
// pick alone does not change it, Apply does.
TEST_P(TestButtonTest, FollowsTheModeInForceNotThePick) {
    const TestButtonCase c = GetParam();
    ui::Form& d = OpenWith(c.stored, 1000, 20);
    ui::Control& test = d.Ctl("cmdSoundTest");
    EXPECT_EQ(test.Enabled(), c.enabledAtLoad);
    d.Ctl("optFeedbackSound", c.picked).UserClick();
    EXPECT_EQ(test.Enabled(), c.enabledAtLoad);
    d.Ctl("cmdApply").UserClick();
    EXPECT_EQ(test.Enabled(), c.enabledAfterApply);
}

INSTANTIATE_TEST_SUITE_P(
    Panel, TestButtonTest,
    ::testing::Values(TestButtonCase{2, false, 1, true}, TestButtonCase{3, false, 1, true},
                      TestButtonCase{4, false, 1, true}, TestButtonCase{1, true, 3, false},
                      TestButtonCase{0, false, 1, true}, TestButtonCase{5, false, 2, false}));

TEST_F(FeedbackSoundTest, PressAndReleaseEachSoundTheShownToneWithoutTouchingTheBlock) {
    ui::Form& d = OpenWith(1, 1000, 20);
    d.Ctl("hscTone").UserScroll(2500);
    d.Ctl("hscDuration").UserScroll(40);
    device.ClearRequests();
    const auto copyBefore = BytesOf(Copy());

    ui::Control& test = d.Ctl("cmdSoundTest");
    test.UserMouseDown(ui::kLeftButton, 0, 10, 10);
    test.UserMouseUp(ui::kLeftButton, 0, 10, 10);

    const auto tests = SoundTests();
    ASSERT_EQ(tests.size(), 2u);
    for (const auto& t : tests) {
        EXPECT_EQ(t.tone, 2500);
        EXPECT_EQ(t.duration, 40);
    }
    EXPECT_EQ(AllSent(), 2u);
    EXPECT_EQ(BytesOf(Copy()), copyBefore);

    d.Ctl("cmdCandel").UserClick();
    EXPECT_EQ(Driver().SoundTone, 1000);
    EXPECT_EQ(Driver().SoundDuration, 20);
}

TEST_F(FeedbackSoundTest, DisabledTestButtonSoundsNothing) {
    ui::Form& d = OpenWith(2, 1000, 20);
    d.Ctl("cmdSoundTest").UserMouseDown(ui::kLeftButton, 0, 1, 1);
    d.Ctl("cmdSoundTest").UserMouseUp(ui::kLeftButton, 0, 1, 1);
    EXPECT_TRUE(SoundTests().empty());
}

TEST_F(FeedbackSoundTest, ApplyWritesToneDurationAndMode) {
    ui::Form& d = OpenWith(2, 1000, 20);
    d.Ctl("optFeedbackSound", 3).UserClick();
    d.Ctl("hscTone").UserScroll(4999);
    d.Ctl("hscDuration").UserScroll(11);
    d.Ctl("cmdApply").UserClick();
    EXPECT_EQ(Sent(KV_IOCTL_SET_SOUND), 1u);
    EXPECT_EQ(Driver().SoundMode, 3);
    EXPECT_EQ(Driver().SoundTone, 4999);
    EXPECT_EQ(Driver().SoundDuration, 11);
    EXPECT_EQ(MainCtl("lblFeedbackSound").Caption(), "Lift Off Only");
}

TEST_F(FeedbackSoundTest, UnshowableStoredValuesAreSentBackUnlessMoved) {
    ui::Form& d = OpenWith(7, -1, 1285);
    EXPECT_EQ(d.Ctl("hscTone").Value(), 200);
    EXPECT_EQ(d.Ctl("hscDuration").Value(), 50);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(d.Ctl("optFeedbackSound", i).Value(), 0);
    EXPECT_FALSE(d.Ctl("cmdApply").Enabled());

    d.Ctl("hscDuration").UserLineScroll(-1);
    d.Ctl("cmdApply").UserClick();
    EXPECT_EQ(Driver().SoundMode, 7);
    EXPECT_EQ(Driver().SoundTone, -1);
    EXPECT_EQ(Driver().SoundDuration, 49);
    EXPECT_EQ(MainCtl("lblFeedbackSound").Caption(), "Invalid#7");
}

}  // namespace
}  // namespace kv::panel::test
