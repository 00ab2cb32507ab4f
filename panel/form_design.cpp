#include "panel/form_design.h"

namespace kv::panel {

namespace {
constexpr ui::Color kRed = ui::Rgb(255, 0, 0);
constexpr ui::Color kBlue = ui::Rgb(0, 0, 255);
}  // namespace

ui::Control& Place(ui::Form& form, ui::ControlKind kind, const std::string& name, int left, int top,
                   int width, int height, ui::Control* container, int index) {
    ui::Control& c = form.Add(kind, name, index, container);
    c.Move(left, top, width, height);
    return c;
}

ui::Control& PlaceFrame(ui::Form& form, const std::string& name, const std::string& caption,
                        int left, int top, int width, int height) {
    ui::Control& frame = Place(form, ui::ControlKind::Frame, name, left, top, width, height);
    frame.SetCaption(caption);
    return frame;
}

void AddHeader(ui::Form& form, int top) {
    ui::Control& logo = Place(form, ui::ControlKind::PictureBox, "picLogo", 480, top, 4740, 780);
    logo.SetBorderStyle(0);

    ui::Control& title = Place(form, ui::ControlKind::Label, "lblOemTitle", 0, 0, 4740, 495, &logo);
    title.SetCaption("Halvane");
    title.SetFont(ui::Font{"Times New Roman", 20.25, true, false});
    title.SetForeColor(kRed);
    title.SetBackStyle(0);

    // The line ends where its box does (600 + 180 = 780 twips), so that no
    // display's rounding of twips to pixels pushes it past the box's edge.
    ui::Control& system =
        Place(form, ui::ControlKind::Label, "lblSystem", 0, 600, 4740, 180, &logo);
    system.SetCaption(kSystemLineDesign);
    system.SetFont(ui::Font{"MS Sans Serif", 8.25, true, false});
    system.SetForeColor(kBlue);
    system.SetBackStyle(0);

    ui::Control& iconBox = Place(form, ui::ControlKind::PictureBox, "picIcon", 5280, top, 780, 780);
    iconBox.SetBorderStyle(0);
    ui::Control& icon =
        Place(form, ui::ControlKind::Image, "imgIcon", 150, 150, 480, 480, &iconBox);
    // An image takes its picture's size; without one it keeps 32 x 32 pixels.
    icon.SetPicture(ui::Platform().LoadResPicture(kIconResource, ui::PictureData::Type::Icon));
}

void Highlight(ui::Control& control, bool selected) {
    control.SetForeColor(selected ? ui::kBlack : ui::kTeal);
}

void AddDialogButtons(ui::Form& form, int right, int top) {
    const int step = kDialogButtonWidth + kDialogButtonGap;
    const int applyLeft = right - kDialogButtonWidth;
    ui::Control& ok = Place(form, ui::ControlKind::CommandButton, "cmdOK", applyLeft - 2 * step,
                            top, kDialogButtonWidth, kDialogButtonHeight);
    ok.SetCaption("&OK");
    ok.SetDefault(true);
    ui::Control& cancel = Place(form, ui::ControlKind::CommandButton, "cmdCandel", applyLeft - step,
                                top, kDialogButtonWidth, kDialogButtonHeight);
    cancel.SetCaption("&Cancel");
    cancel.SetCancel(true);
    ui::Control& apply = Place(form, ui::ControlKind::CommandButton, "cmdApply", applyLeft, top,
                               kDialogButtonWidth, kDialogButtonHeight);
    apply.SetCaption("&Apply");
    apply.SetEnabled(false);
}

}  // namespace kv::panel
