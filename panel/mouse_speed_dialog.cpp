#include "panel/mouse_speed_dialog.h"

#include <string>

#include "common/summaries/summaries.h"
#include "panel/form_design.h"

namespace kv::panel {

namespace {
constexpr int kClientWidth = 6645;
constexpr int kClientHeight = 5520;
constexpr int kSpeedMin = 1;
constexpr int kSpeedMax = 20;

std::string PercentText(int value) { return std::to_string(5 * value) + "%"; }

// A speed bar with its frame, value label and the two scale labels.
void AddSpeedRow(ui::Form& form, const std::string& frameName, const std::string& caption, int top,
                 const std::string& bar, const std::string& label, const std::string& scalePrefix) {
    PlaceFrame(form, frameName, caption, 480, top, 5580, 855);
    ui::Control& frame = form.Ctl(frameName);
    ui::Control& scroll =
        Place(form, ui::ControlKind::HScrollBar, bar, 180, 270, 4350, 255, &frame);
    scroll.SetMin(kSpeedMin);
    scroll.SetMax(kSpeedMax);
    scroll.SetSmallChange(1);
    scroll.SetLargeChange(2);
    scroll.SetValue(1);
    ui::Control& value = Place(form, ui::ControlKind::Label, label, 4650, 300, 735, 195, &frame);
    value.SetCaption("100%");
    value.SetAlignment(ui::kAlignRight);
    Place(form, ui::ControlKind::Label, scalePrefix + "Slow", 180, 555, 735, 195, &frame)
        .SetCaption("Slow");
    ui::Control& fast =
        Place(form, ui::ControlKind::Label, scalePrefix + "Fast", 3795, 555, 735, 195, &frame);
    fast.SetCaption("Fast");
    fast.SetAlignment(ui::kAlignRight);
}
}  // namespace

MouseSpeedDialog::MouseSpeedDialog(PanelContext& context)
    : SettingsDialog(context, kFormName, "Mouse Speed", kClientWidth, kClientHeight),
      acceleration_(form_, "optAcceleration") {
    Design();
}

void MouseSpeedDialog::Design() {
    ui::Control& bypassFrame =
        PlaceFrame(form_, "frameBypass", "  Bypass Mode", 480, 1320, 1935, 615);
    ui::Control& bypass =
        Place(form_, ui::ControlKind::CheckBox, "chkBypass", 240, 270, 1455, 255, &bypassFrame);
    bypass.SetCaption("Enable");
    bypass.SetForeColor(ui::kBlack);

    ui::Control& adjustFrame =
        PlaceFrame(form_, "frameAdjust", "  Adjust Mode", 2535, 1320, 3525, 615);
    ui::Control& both =
        Place(form_, ui::ControlKind::CheckBox, "chkBoth", 240, 270, 3165, 255, &adjustFrame);
    both.SetCaption("Set Both Horizontal && Vertical ");
    both.SetForeColor(ui::kTeal);

    AddSpeedRow(form_, "frameHSpeed", "  Horizontal Speed  ", 2055, "hscMouseHSpeed", "lblHS",
                "lblHS");
    AddSpeedRow(form_, "frameVSpeed", "  Vertical Speed  ", 3030, "hscMouseVSpeed", "lblVS",
                "lblVS");

    ui::Control& accelFrame =
        PlaceFrame(form_, "frameAcceleration", "  Acceleration  ", 480, 4005, 5580, 615);
    for (int i = 1; i <= 4; ++i) {
        ui::Control& option = Place(form_, ui::ControlKind::OptionButton, "optAcceleration",
                                    240 + (i - 1) * 1335, 270, 1215, 255, &accelFrame, i);
        option.SetCaption("Option" + std::to_string(i));
        option.SetForeColor(ui::kTeal);
        option.Click = [this, i] { AccelerationClick(i); };
    }

    Ctl("hscMouseHSpeed").Change = [this] { HSpeedChange(); };
    Ctl("hscMouseVSpeed").Change = [this] { VSpeedChange(); };
    Ctl("hscMouseHSpeed").Scroll = [this] {
        SpeedScroll(Ctl("hscMouseHSpeed"), Ctl("hscMouseVSpeed"));
    };
    Ctl("hscMouseVSpeed").Scroll = [this] {
        SpeedScroll(Ctl("hscMouseVSpeed"), Ctl("hscMouseHSpeed"));
    };
    bypass.Click = [this] { BypassClick(); };
    both.Click = [this] { BothClick(); };
}

void MouseSpeedDialog::LoadControls() {
    const TouchParams& block = Block();
    for (int i = 1; i <= 4; ++i)
        Ctl("optAcceleration", i).SetCaption(context_.accelerationNames[i]);
    acceleration_.selection = block.Acceleration;

    bypass_ = block.Bypass;
    // Any non-zero byte means bypass to the driver (and to the summary).
    Ctl("chkBypass").SetValue(block.Bypass != 0 ? 1 : 0);

    // "Set Both" starts checked only when the stored speeds agree, so that
    // loading never changes a speed.
    ui::Control& both = Ctl("chkBoth");
    both.SetValue(block.MouseHSpeed == block.MouseVSpeed ? 1 : 0);
    Highlight(both, both.Value() == 1);

    hSpeed_ = block.MouseHSpeed;
    vSpeed_ = block.MouseVSpeed;
    Ctl("hscMouseHSpeed").SetValue(block.MouseHSpeed);
    Ctl("hscMouseVSpeed").SetValue(block.MouseVSpeed);
    // A stored value equal to the bar's design value fires no change.
    Ctl("lblHS").SetCaption(PercentText(Ctl("hscMouseHSpeed").Value()));
    Ctl("lblVS").SetCaption(PercentText(Ctl("hscMouseVSpeed").Value()));

    acceleration_.Load(block.Acceleration);
    BypassClick();
}

void MouseSpeedDialog::HSpeedChange() {
    ui::Control& bar = Ctl("hscMouseHSpeed");
    Ctl("lblHS").SetCaption(PercentText(bar.Value()));
    if (!Loading()) hSpeed_ = static_cast<std::uint8_t>(bar.Value());
    SpeedScroll(bar, Ctl("hscMouseVSpeed"));
    UpdateApplyState();
}

void MouseSpeedDialog::VSpeedChange() {
    ui::Control& bar = Ctl("hscMouseVSpeed");
    Ctl("lblVS").SetCaption(PercentText(bar.Value()));
    if (!Loading()) vSpeed_ = static_cast<std::uint8_t>(bar.Value());
    UpdateApplyState();
    SpeedScroll(bar, Ctl("hscMouseHSpeed"));
}

void MouseSpeedDialog::SpeedScroll(ui::Control& from, ui::Control& to) {
    if (Ctl("chkBoth").Value() == 1) to.SetValue(from.Value());
}

void MouseSpeedDialog::BothClick() {
    ui::Control& both = Ctl("chkBoth");
    Highlight(both, both.Value() == 1);
}

void MouseSpeedDialog::BypassClick() {
    if (!Loading()) bypass_ = static_cast<std::uint8_t>(Ctl("chkBypass").Value());
    const bool speedsInForce = Ctl("chkBypass").Value() == 0;
    Ctl("chkBoth").SetEnabled(speedsInForce);
    Ctl("hscMouseHSpeed").SetEnabled(speedsInForce);
    Ctl("hscMouseVSpeed").SetEnabled(speedsInForce);
    for (int i = 1; i <= context_.accelerationNames.UpperBound(); ++i)
        Ctl("optAcceleration", i).SetEnabled(speedsInForce);
    UpdateApplyState();
}

void MouseSpeedDialog::AccelerationClick(int index) {
    if (acceleration_.Pick(index)) UpdateApplyState();
}

bool MouseSpeedDialog::DiffersFromBlock() {
    const TouchParams& block = Block();
    return block.Bypass != bypass_ || block.MouseVSpeed != vSpeed_ ||
           block.MouseHSpeed != hSpeed_ || block.Acceleration != acceleration_.selection;
}

void MouseSpeedDialog::WriteBlock() {
    TouchParams& block = Block();
    block.Bypass = bypass_;
    block.MouseHSpeed = hSpeed_;
    block.MouseVSpeed = vSpeed_;
    block.Acceleration = acceleration_.selection;
}

void MouseSpeedDialog::SendBlock() { context_.device.SetMouseSpeed(); }

void MouseSpeedDialog::RefreshSummary() {
    const TouchParams& block = Block();
    MainLabel("lblMouseSpeed")
        .SetCaption(MouseSpeedSummary(block.MouseHSpeed, block.MouseVSpeed, block.Acceleration,
                                      block.Bypass));
}

}  // namespace kv::panel
