#include "common/branding/window_header.h"

#include "common/winutil/form_building.h"

namespace kv {

namespace {
constexpr ui::Color kRed = ui::Rgb(255, 0, 0);
constexpr ui::Color kBlue = ui::Rgb(0, 0, 255);
}  // namespace

void AddHeader(ui::Form& form, int top, const char* systemLine, int iconResource) {
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
    system.SetCaption(systemLine);
    system.SetFont(ui::Font{"MS Sans Serif", 8.25, true, false});
    system.SetForeColor(kBlue);
    system.SetBackStyle(0);

    ui::Control& iconBox = Place(form, ui::ControlKind::PictureBox, "picIcon", 5280, top, 780, 780);
    iconBox.SetBorderStyle(0);
    ui::Control& icon =
        Place(form, ui::ControlKind::Image, "imgIcon", 150, 150, 480, 480, &iconBox);
    // An image takes its picture's size; without one it keeps 32 x 32 pixels.
    icon.SetPicture(ui::Platform().LoadResPicture(iconResource, ui::PictureData::Type::Icon));
}

}  // namespace kv
