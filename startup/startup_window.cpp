#include "startup/startup_window.h"

#include <cstdlib>
#include <string>

#include "common/branding/logo.h"
#include "common/branding/window_header.h"
#include "common/ports/mouse_settings_port.h"
#include "common/winutil/form_building.h"
#include "common/winutil/form_placement.h"
#include "common/winutil/message_boxes.h"
#include "common/winutil/peer_window.h"
#include "common/winutil/program_titles.h"
#include "startup/apply_double_click.h"

namespace kv::startup {

namespace {
constexpr int kClientWidth = 6645;
constexpr int kClientHeight = 5055;
constexpr int kButtonWidth = 1095;
constexpr int kButtonHeight = 375;
constexpr int kButtonGap = 120;
constexpr int kButtonTop = 4320;
constexpr int kContentRight = 6060;

constexpr const char* kBarNames[] = {"hscTT", "hscWW", "hscHH"};
constexpr const char* kBarLabels[] = {"lblTT", "lblWW", "lblHH"};
// "Hight: " is the text the window has always shown once a bar moves.
constexpr const char* kBarPrefixes[] = {"Speed: ", "Width: ", "Hight: "};
constexpr const char* kSystemLabels[] = {"lblSiTT", "lblSiWW", "lblSiHH"};

// The number a caption starts with, as the classic runtime's Val reads it
// ("" and text read as 0).
long CaptionNumber(const std::string& caption) { return std::strtol(caption.c_str(), nullptr, 10); }

ui::Control& PlaceButton(ui::Form& form, const char* name, const char* caption, int left) {
    ui::Control& button = Place(form, ui::ControlKind::CommandButton, name, left, kButtonTop,
                                kButtonWidth, kButtonHeight);
    button.SetCaption(caption);
    return button;
}
}  // namespace

StartupWindow::StartupWindow(StartupContext& context) : context_(context), form_(kFormName) {
    context_.main = &form_;
    Design();
}

void StartupWindow::AddBarRow(Bar bar, int top, const char* name, const char* label,
                              const char* caption, int min, int max, int largeChange, int value) {
    ui::Control& frame = form_.Ctl("Frame1");
    Place(form_, ui::ControlKind::Label, label, 180, top, 1500, 195, &frame).SetCaption(caption);
    ui::Control& scroll =
        Place(form_, ui::ControlKind::HScrollBar, name, 180, top + 240, 3120, 255, &frame);
    scroll.SetMin(min);
    scroll.SetMax(max);
    scroll.SetSmallChange(1);
    scroll.SetLargeChange(largeChange);
    scroll.SetValue(value);
    const std::string scale = std::string(label) + "Scale";
    Place(form_, ui::ControlKind::Label, scale + "Min", 180, top + 525, 600, 195, &frame)
        .SetCaption(std::to_string(min));
    ui::Control& high =
        Place(form_, ui::ControlKind::Label, scale + "Max", 2700, top + 525, 600, 195, &frame);
    high.SetCaption(std::to_string(max));
    high.SetAlignment(ui::kAlignRight);
    scroll.Change = [this, bar] { BarChange(bar); };
    scroll.Scroll = [this, bar] { BarChange(bar); };
}

void StartupWindow::Design() {
    form_.SetCaption("TouchScreen System Startup");
    form_.SetBorderStyle(ui::kBorderFixedSingle);
    form_.SetIconResource(kIconResource);
    form_.SetClientSize(kClientWidth, kClientHeight);
    AddHeader(form_, 360, kSystemLineDesign, kIconResource);
    Place(form_, ui::ControlKind::Shape, "Shape1", 480, 1260, 5580, 30);

    PlaceFrame(form_, "Frame1", "  Double Click Configuration", 480, 1380, 3480, 2760);
    AddBarRow(kSpeed, 300, "hscTT", "lblTT", "Speed: 500", 100, 900, 50, 500);
    AddBarRow(kWidth, 1080, "hscWW", "lblWW", "Width: 32", 0, 64, 5, 32);
    AddBarRow(kHeight, 1860, "hscHH", "lblHH", "Height: 32", 0, 64, 5, 32);

    ui::Control& info = PlaceFrame(form_, "Frame2", " System Information", 4080, 1380, 1980, 1200);
    const char* names[] = {"Speed:", "Width:", "Height:"};
    const char* designValues[] = {"500", "32", "32"};
    for (int i = 0; i < 3; ++i) {
        const int top = 300 + i * 270;
        Place(form_, ui::ControlKind::Label, std::string(kSystemLabels[i]) + "Name", 180, top, 840,
              195, &info)
            .SetCaption(names[i]);
        ui::Control& value =
            Place(form_, ui::ControlKind::Label, kSystemLabels[i], 1080, top, 720, 195, &info);
        value.SetCaption(designValues[i]);
        value.SetAlignment(ui::kAlignRight);
    }

    ui::Control& testFrame = PlaceFrame(form_, "Frame4", "", 4080, 2700, 1980, 1440);
    ui::Control& test =
        Place(form_, ui::ControlKind::PictureBox, "picTest", 180, 300, 1620, 960, &testFrame);
    test.SetBorderStyle(1);
    ui::Control& on = Place(form_, ui::ControlKind::Image, "imgON", 0, 0, 480, 480, &test);
    on.SetPicture(ui::Platform().LoadResPicture(kTestOnResource, ui::PictureData::Type::Bitmap));
    ui::Control& off = Place(form_, ui::ControlKind::Image, "imgOFF", 0, 0, 480, 480, &test);
    off.SetPicture(ui::Platform().LoadResPicture(kTestOffResource, ui::PictureData::Type::Bitmap));

    const int step = kButtonWidth + kButtonGap;
    const int applyLeft = kContentRight - kButtonWidth;
    ui::Control& ok = PlaceButton(form_, "cmdOK", "&OK", applyLeft - 2 * step);
    ok.SetDefault(true);
    ui::Control& cancel = PlaceButton(form_, "cmdCandel", "&Cancel", applyLeft - step);
    cancel.SetCancel(true);
    PlaceButton(form_, "cmdApply", "&Apply", applyLeft).SetEnabled(false);

    form_.OnLoad = [this] { Load(); };
    ok.Click = [this] { OkClick(); };
    cancel.Click = [this] { form_.Unload(); };
    form_.Ctl("cmdApply").Click = [this] { ApplyClick(); };
    on.DblClick = [this] { TestOff(); };
    off.DblClick = [this] { TestOn(); };
    form_.Ctl("imgIcon").DblClick = [this] { IconDblClick(); };
}

bool StartupWindow::Start() {
    ending_ = false;
    return ShowUnlessLoadFailed(form_, ending_);
}

void StartupWindow::Load() {
    if (!LoadSteps()) ending_ = true;
    form_.SetMousePointer(ui::kPointerDefault);
}

bool StartupWindow::LoadSteps() {
    form_.SetCaption(kStartupTitle);
    ui::Control& system = form_.Ctl("lblSystem");
    system.SetCaption(system.Caption() + kProductVersion);

    if (HandOverToRunningInstance(context_.process, context_.desktop, kStartupProgramId,
                                  form_.Handle(), form_.Caption()))
        return false;

    form_.SetMousePointer(ui::kPointerHourglass);
    const bool loaded = context_.product.LoadProductInformation(context_.registry);
    form_.SetMousePointer(ui::kPointerDefault);
    if (!loaded) {
        ErrorBox(context_.desktop, kRegisterFileFailureText, form_.Caption());
        return false;
    }

    DoubleClickValues stored;
    if (!LoadDoubleClickValues(context_.registry, context_.product, stored)) stored = {};
    context_.values = stored;

    if (context_.configMode) {
        LoadConfiguration();
    } else {
        form_.SetHeight(kLogonWindowHeight);
        form_.Ctl("Shape1").SetVisible(false);
        form_.Ctl("Frame1").SetVisible(false);
        form_.Ctl("Frame2").SetVisible(false);
    }

    ShowLogo(context_.product, context_.process, form_);
    CentreWindow(form_);
    CentreIcon(form_);
    return true;
}

void StartupWindow::LoadConfiguration() {
    ui::Control& test = form_.Ctl("picTest");
    ui::Control& on = form_.Ctl("imgON");
    ui::Control& off = form_.Ctl("imgOFF");
    const int left = (test.ScaleWidth() - off.Width()) / 2;
    const int top = (test.ScaleHeight() - off.Height()) / 2;
    off.Move(left, top, off.Width(), off.Height());
    on.Move(left, top, on.Width(), on.Height());
    TestOff();

    ShowSystemValues();

    // A stored value beyond a bar's range shows at the bar's nearest end,
    // and that shown value is what Apply stores: the window never applies
    // a number it does not show.
    const DoubleClickValues& v = context_.values;
    BarControl(kSpeed).SetValue(v.DoubleClickSpeed);
    BarControl(kWidth).SetValue(v.DoubleClickWidth);
    BarControl(kHeight).SetValue(v.DoubleClickHeight);
}

void StartupWindow::ShowSystemValues() {
    MouseSettingsPort& mouse = context_.mouse;
    form_.Ctl("lblSiTT").SetCaption(std::to_string(mouse.GetDoubleClickTime()));
    form_.Ctl("lblSiWW").SetCaption(std::to_string(mouse.GetSystemMetrics(kSmCxDoubleClk)));
    form_.Ctl("lblSiHH").SetCaption(std::to_string(mouse.GetSystemMetrics(kSmCyDoubleClk)));
}

ui::Control& StartupWindow::BarControl(Bar bar) { return form_.Ctl(kBarNames[bar]); }

void StartupWindow::BarChange(Bar bar) {
    ui::Control& scroll = BarControl(bar);
    form_.Ctl(kBarLabels[bar]).SetCaption(kBarPrefixes[bar] + std::to_string(scroll.Value()));
    UpdateApplyButton();
}

bool StartupWindow::SettingsChanged() {
    const DoubleClickValues& v = context_.values;
    if (BarControl(kSpeed).Value() != v.DoubleClickSpeed) return true;
    if (BarControl(kWidth).Value() != v.DoubleClickWidth) return true;
    if (BarControl(kHeight).Value() != v.DoubleClickHeight) return true;
    if (CaptionNumber(form_.Ctl("lblSiTT").Caption()) != v.DoubleClickSpeed) return true;
    if (CaptionNumber(form_.Ctl("lblSiWW").Caption()) != v.DoubleClickWidth) return true;
    if (CaptionNumber(form_.Ctl("lblSiHH").Caption()) != v.DoubleClickHeight) return true;
    return false;
}

void StartupWindow::UpdateApplyButton() { form_.Ctl("cmdApply").SetEnabled(SettingsChanged()); }

void StartupWindow::ApplyClick() {
    DoubleClickValues& v = context_.values;
    v.DoubleClickSpeed = BarControl(kSpeed).Value();
    v.DoubleClickWidth = BarControl(kWidth).Value();
    v.DoubleClickHeight = BarControl(kHeight).Value();
    ApplyDoubleClick(context_.mouse, context_.registry, context_.desktop, context_.product, v,
                     kStartupTitle);
    ShowSystemValues();
    form_.Ctl("cmdApply").SetEnabled(false);
}

void StartupWindow::OkClick() {
    if (form_.Ctl("cmdApply").Enabled()) ApplyClick();
    form_.Unload();
}

void StartupWindow::TestOn() {
    ui::Control& on = form_.Ctl("imgON");
    ui::Control& off = form_.Ctl("imgOFF");
    off.SetVisible(false);
    off.SetEnabled(false);
    on.SetVisible(true);
    on.SetEnabled(true);
    form_.Ctl("picTest").SetBackColor(kTestOnColor);
}

void StartupWindow::TestOff() {
    ui::Control& on = form_.Ctl("imgON");
    ui::Control& off = form_.Ctl("imgOFF");
    on.SetVisible(false);
    on.SetEnabled(false);
    off.SetVisible(true);
    off.SetEnabled(true);
    form_.Ctl("picTest").SetBackColor(kTestOffColor);
}

void StartupWindow::IconDblClick() {
    if (about_ == nullptr) return;
    form_.SetMousePointer(ui::kPointerHourglass);
    form_.Hide();
    about_->Show();
    form_.SetMousePointer(ui::kPointerDefault);
}

}  // namespace kv::startup
