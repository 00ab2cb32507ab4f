#include "panel/feedback_sound_dialog.h"

#include <cstdlib>
#include <string>

#include "common/summaries/summaries.h"
#include "panel/form_design.h"

namespace kv::panel {

namespace {
constexpr int kClientWidth = 6645;
constexpr int kClientHeight = 6240;
constexpr int kSilence = 1;

// A scale bar with its frame, value label and the two end labels.
ui::Control& AddScaleRow(ui::Form& form, const std::string& frameName, const std::string& caption,
                         int top, const std::string& bar, const std::string& label,
                         const std::string& designText, const std::string& leftEnd,
                         const std::string& rightEnd) {
    ui::Control& frame = PlaceFrame(form, frameName, caption, 480, top, 5580, 855);
    ui::Control& scroll =
        Place(form, ui::ControlKind::HScrollBar, bar, 180, 270, 4350, 255, &frame);
    ui::Control& value = Place(form, ui::ControlKind::Label, label, 4650, 300, 735, 195, &frame);
    value.SetCaption(designText);
    value.SetAlignment(ui::kAlignRight);
    Place(form, ui::ControlKind::Label, label + leftEnd, 180, 555, 735, 195, &frame)
        .SetCaption(leftEnd);
    ui::Control& right =
        Place(form, ui::ControlKind::Label, label + rightEnd, 3795, 555, 735, 195, &frame);
    right.SetCaption(rightEnd);
    right.SetAlignment(ui::kAlignRight);
    return scroll;
}

int ShownNumber(const ui::Control& label) {
    return static_cast<int>(std::strtol(label.Caption().c_str(), nullptr, 10));
}
}  // namespace

FeedbackSoundDialog::FeedbackSoundDialog(PanelContext& context)
    : SettingsDialog(context, kFormName, "Feedback Sound", kClientWidth, kClientHeight),
      soundMode_(form_, "optFeedbackSound") {
    Design();
}

void FeedbackSoundDialog::Design() {
    ui::Control& modeFrame =
        PlaceFrame(form_, "frameFeedbackSound", "  Feedback Sound Option  ", 480, 1320, 5580, 975);
    for (int i = 1; i <= 4; ++i) {
        const int column = (i - 1) / 2;
        const int row = (i - 1) % 2;
        ui::Control& option =
            Place(form_, ui::ControlKind::OptionButton, "optFeedbackSound", 240 + column * 2400,
                  300 + row * 360, column == 0 ? 2280 : 2820, 255, &modeFrame, i);
        option.SetCaption("Option" + std::to_string(i));
        option.SetForeColor(ui::kTeal);
        option.Click = [this, i] { SoundModeClick(i); };
    }

    ui::Control& tone = AddScaleRow(form_, "frameTone", "  Tone  ", 2415, "hscTone", "lblTone",
                                    "9999", "High", "Low");
    tone.SetMin(200);
    tone.SetMax(5000);
    tone.SetSmallChange(1);
    tone.SetLargeChange(100);
    tone.SetValue(200);
    ui::Control& duration = AddScaleRow(form_, "frameDuration", "  Duration  ", 3390, "hscDuration",
                                        "lblDuration", "99", "Short", "Long");
    duration.SetMin(10);
    duration.SetMax(50);
    duration.SetSmallChange(1);
    duration.SetLargeChange(5);
    duration.SetValue(10);

    ui::Control& test =
        Place(form_, ui::ControlKind::CommandButton, "cmdSoundTest", 480, 4425, 5580, 735);
    test.SetCaption("Touch Here to Test");

    tone.Change = tone.Scroll = [this] { ToneMoved(); };
    duration.Change = duration.Scroll = [this] { DurationMoved(); };
    // A touch sounds the tone twice: at touch-down and at lift-off.
    test.MouseDown = [this](int, int, int, int) { SoundTest(); };
    test.MouseUp = [this](int, int, int, int) { SoundTest(); };
    // Space is the keyboard's press and release; a held key repeats its
    // key-down, which sounds nothing more.
    test.KeyDown = [this](int key, int) {
        if (key != ui::kKeySpace || spaceHeld_) return;
        spaceHeld_ = true;
        SoundTest();
    };
    test.KeyUp = [this](int key, int) {
        if (key != ui::kKeySpace || !spaceHeld_) return;
        spaceHeld_ = false;
        SoundTest();
    };
}

void FeedbackSoundDialog::LoadControls() {
    const TouchParams& block = Block();
    spaceHeld_ = false;
    for (int i = 1; i <= 4; ++i)
        Ctl("optFeedbackSound", i).SetCaption(" " + context_.soundModeNames[i]);
    soundMode_.Load(block.SoundMode);

    tone_ = block.SoundTone;
    duration_ = block.SoundDuration;
    Ctl("hscTone").SetValue(block.SoundTone);
    Ctl("hscDuration").SetValue(block.SoundDuration);
    // A stored value equal to the bar's design value fires no change.
    Ctl("lblTone").SetCaption(std::to_string(Ctl("hscTone").Value()));
    Ctl("lblDuration").SetCaption(std::to_string(Ctl("hscDuration").Value()));

    UpdateTestButton();
}

void FeedbackSoundDialog::ToneMoved() {
    ui::Control& bar = Ctl("hscTone");
    Ctl("lblTone").SetCaption(std::to_string(bar.Value()));
    if (!Loading()) tone_ = static_cast<std::int16_t>(bar.Value());
    UpdateApplyState();
}

void FeedbackSoundDialog::DurationMoved() {
    ui::Control& bar = Ctl("hscDuration");
    Ctl("lblDuration").SetCaption(std::to_string(bar.Value()));
    if (!Loading()) duration_ = static_cast<std::int16_t>(bar.Value());
    UpdateApplyState();
}

void FeedbackSoundDialog::SoundModeClick(int index) {
    if (soundMode_.Pick(index)) UpdateApplyState();
}

void FeedbackSoundDialog::SoundTest() {
    // What the user sees, applied or not.
    context_.device.Sound.Tone = static_cast<std::int16_t>(ShownNumber(Ctl("lblTone")));
    context_.device.Sound.Duration = static_cast<std::int16_t>(ShownNumber(Ctl("lblDuration")));
    context_.device.SoundTest();
}

void FeedbackSoundDialog::UpdateTestButton() {
    Ctl("cmdSoundTest").SetEnabled(Block().SoundMode == kSilence);
}

bool FeedbackSoundDialog::DiffersFromBlock() {
    const TouchParams& block = Block();
    return soundMode_.selection != block.SoundMode || duration_ != block.SoundDuration ||
           tone_ != block.SoundTone;
}

void FeedbackSoundDialog::WriteBlock() {
    TouchParams& block = Block();
    block.SoundTone = tone_;
    block.SoundDuration = duration_;
    block.SoundMode = soundMode_.selection;
}

void FeedbackSoundDialog::SendBlock() { context_.device.SetSound(); }

void FeedbackSoundDialog::RefreshSummary() {
    MainLabel("lblFeedbackSound").SetCaption(SoundModeName(Block().SoundMode));
}

void FeedbackSoundDialog::AfterApply() { UpdateTestButton(); }

}  // namespace kv::panel
