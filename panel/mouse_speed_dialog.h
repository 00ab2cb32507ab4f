// frmMouseSpeed: the horizontal and vertical speed factors (1..20, shown as
// 5 % steps), the acceleration step and the bypass mode; sent with
// SetMouseSpeed.
#pragma once

#include <cstdint>

#include "panel/settings_dialog.h"

namespace kv::panel {

class MouseSpeedDialog : public SettingsDialog {
public:
    static constexpr const char* kFormName = "frmMouseSpeed";

    explicit MouseSpeedDialog(PanelContext& context);

private:
    void LoadControls() override;
    bool DiffersFromBlock() override;
    void WriteBlock() override;
    void SendBlock() override;
    void RefreshSummary() override;

    void Design();
    void HSpeedChange();
    void VSpeedChange();
    // Mirrors one bar into the other while "Set Both" is checked.
    void SpeedScroll(ui::Control& from, ui::Control& to);
    void BypassClick();
    void BothClick();
    void AccelerationClick(int index);

    OptionGroup acceleration_;
    // What the bars and the bypass box stand for: the stored byte until the
    // user changes the control, so that a stored value a control cannot
    // show (a speed of 0, a bypass byte of 5) is sent back as it was.
    std::uint8_t bypass_ = 0;
    std::uint8_t hSpeed_ = 0;
    std::uint8_t vSpeed_ = 0;
};

}  // namespace kv::panel
