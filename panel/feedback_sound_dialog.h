// frmFeedbackSound: when the driver sounds its click tone, the tone and
// its duration (sent with SetSound), and a button that lets the user hear
// the tone through the driver (SoundTest) on press and on release.
#pragma once

#include <cstdint>

#include "panel/settings_dialog.h"

namespace kv::panel {

class FeedbackSoundDialog : public SettingsDialog {
public:
    static constexpr const char* kFormName = "frmFeedbackSound";

    explicit FeedbackSoundDialog(PanelContext& context);

private:
    void LoadControls() override;
    bool DiffersFromBlock() override;
    void WriteBlock() override;
    void SendBlock() override;
    void RefreshSummary() override;
    void AfterApply() override;

    void Design();
    void ToneMoved();
    void DurationMoved();
    void SoundModeClick(int index);
    void SoundTest();
    // The test button works only while silence is the mode in force.
    void UpdateTestButton();

    OptionGroup soundMode_;
    // The stored values until the user moves a bar: a stored tone the bar
    // cannot show goes back to the driver unchanged.
    std::int16_t tone_ = 0;
    std::int16_t duration_ = 0;
    bool spaceHeld_ = false;  // Space pressed on the test button, not yet let go
};

}  // namespace kv::panel
