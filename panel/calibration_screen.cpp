#include "panel/calibration_screen.h"

#include <string>

#include "panel/form_design.h"
#include "ui/backend.h"

namespace kv::panel {

namespace {

constexpr ui::Color kWindowGrey = ui::Rgb(192, 192, 192);
constexpr ui::Color kYellow = ui::Rgb(255, 255, 0);
constexpr ui::Color kGreen = ui::Rgb(0, 255, 0);
constexpr ui::Color kRed = ui::Rgb(255, 0, 0);
constexpr ui::Color kBlue = ui::Rgb(0, 0, 255);

const ui::Font kMessageFont{"MS Sans Serif", 9.75, true, false};
const ui::Font kSmallBold{"MS Sans Serif", 8.25, true, false};
const ui::Font kTitleFont{"Times New Roman", 21.75, true, false};

// Design sizes inside the surface, in pixels of a display at 96 DPI; Px
// gives them for the display in use, so that texts keep fitting their boxes
// when the fonts grow with the display's DPI.
constexpr int kBoxWidth = 420;
constexpr int kBoxHeight = 44;
constexpr int kStatWidth = 220;
constexpr int kBoxInset = 16;
constexpr int kHomeHeight = 140;
constexpr int kLineHeight = 16;
constexpr int kTitleHeight = 36;

int Half(double v) { return static_cast<int>(RoundHalfEven(v / 2)); }

int Px(int designPixels) {
    return static_cast<int>(RoundHalfEven(designPixels * 15.0 / ui::TwipsPerPixelX()));
}

ui::Control& PixelBox(ui::Form& form, const char* name, ui::Control* container, int left, int top,
                      int width, int height, ui::Color back) {
    ui::Control& box =
        Place(form, ui::ControlKind::PictureBox, name, left, top, width, height, container);
    box.SetBorderStyle(0);
    box.SetScaleMode(ui::kScalePixels);
    box.SetBackColor(back);
    return box;
}

ui::Control& Text(ui::Form& form, const char* name, ui::Control* container, int left, int top,
                  int width, int height, const char* caption, ui::Color fore, ui::Color back,
                  const ui::Font& font, int alignment) {
    ui::Control& label =
        Place(form, ui::ControlKind::Label, name, left, top, width, height, container);
    label.SetCaption(caption);
    label.SetForeColor(fore);
    label.SetBackColor(back);
    label.SetFont(font);
    label.SetAlignment(alignment);
    return label;
}

}  // namespace

CalibrationScreen::CalibrationScreen() : form_(kFormName) { Design(); }

void CalibrationScreen::Design() {
    form_.SetCaption("Calibration");
    form_.SetBorderStyle(ui::kBorderNone);
    form_.SetWindowState(ui::kWindowMaximized);
    form_.SetBackColor(kWindowGrey);
    form_.SetIconResource(kIconResource);

    // The surface's design size is replaced by the window's at every resize.
    ui::Control& surface = Place(form_, ui::ControlKind::PictureBox, "picCalibration", 0, 0,
                                 form_.ScaleWidth(), form_.ScaleHeight());
    surface.SetBorderStyle(0);
    surface.SetScaleMode(ui::kScalePixels);
    surface.SetBackColor(ui::kSysWindow);

    ui::Control& home =
        PixelBox(form_, "picHome", &surface, 0, 0, Px(kBoxWidth + 2 * kBoxInset), Px(kHomeHeight),
                 ui::kSysWindow);
    ui::Control& stat =
        PixelBox(form_, "picStat", &home, 0, Px(12), Px(kStatWidth), Px(kBoxHeight),
                 ui::Rgb(255, 255, 255));
    // Transparent, so the status colour shows around the text.
    Text(form_, "lblResolution", &stat, 0, Px(14), Px(kStatWidth), Px(kLineHeight),
         "Resolution: 1280 X 1024",
         ui::kBlack, ui::Rgb(255, 255, 255), kSmallBold, ui::kAlignCenter)
        .SetBackStyle(0);

    ui::Control& mesg =
        PixelBox(form_, "picMesg", &home, Px(kBoxInset), Px(64), Px(kBoxWidth), Px(kBoxHeight),
                 ui::kBlack);
    Text(form_, "lblMesg3", &mesg, 0, Px(14), Px(kBoxWidth), Px(kLineHeight),
         "Please lift off from TouchScreen to start calibration", kYellow, ui::kBlack,
         kMessageFont, ui::kAlignCenter)
        .SetVisible(false);
    Text(form_, "lblMesg1", &mesg, Px(12), Px(5), Px(kBoxWidth - 24), Px(kLineHeight),
         kTouchPromptLine1, kGreen,
         ui::kBlack, kMessageFont, ui::kAlignLeft);
    Text(form_, "lblMesg2", &mesg, Px(40), Px(23), Px(kBoxWidth - 24), Px(kLineHeight),
         "show on the TOP-LEFT coner of the screen", kGreen, ui::kBlack, kMessageFont,
         ui::kAlignLeft);

    Text(form_, "lblHelp", &home, Px(kBoxInset), Px(116), Px(kBoxWidth), Px(kLineHeight),
         "Press ESC key to break calibration", kBlue, ui::kSysWindow, kSmallBold,
         ui::kAlignCenter);
    Text(form_, "lblTitle", &surface, 0, 0, Px(kBoxWidth), Px(kTitleHeight),
         "TouchScreen Calibration",
         kRed, ui::kSysWindow, kTitleFont, ui::kAlignCenter);
}

void CalibrationScreen::Prepare(int screenWidth, int screenHeight) {
    form_.Move(0, 0, ui::ScreenWidthTwips(), ui::ScreenHeightTwips());
    form_.Ctl("lblResolution")
        .SetCaption("Resolution: " + std::to_string(screenWidth) + " X " +
                    std::to_string(screenHeight));
}

void CalibrationScreen::Layout() {
    ui::Control& surface = Surface();
    ui::Control& home = form_.Ctl("picHome");
    ui::Control& stat = form_.Ctl("picStat");
    ui::Control& mesg = form_.Ctl("picMesg");
    ui::Control& title = form_.Ctl("lblTitle");
    ui::Control& lift = form_.Ctl("lblMesg3");

    surface.SetBorderStyle(0);
    surface.Move(0, 0, form_.ScaleWidth(), form_.ScaleHeight());
    home.SetBorderStyle(0);
    const int homeWidth = 2 * mesg.Left() + mesg.Width();
    home.Move(Half(surface.ScaleWidth() - homeWidth), Half(surface.ScaleHeight() - home.Height()),
              homeWidth, home.Height());
    title.Move(Half(surface.ScaleWidth() - title.Width()),
               static_cast<int>(RoundHalfEven(home.Top() - 1.5 * title.Height())), title.Width(),
               title.Height());
    stat.SetLeft(Half(home.Width() - stat.Width()));
    mesg.SetLeft(Half(home.Width() - mesg.Width()));
    lift.SetTop(Half(stat.Height() - lift.Height()));
    geometry_ = ComputeMarkGeometry(surface.ScaleWidth(), surface.ScaleHeight());
}

void CalibrationScreen::DrawMark(int index, bool on) {
    const std::optional<CrossMark> mark = MarkOf(index, geometry_);
    if (!mark) return;
    ui::Control& surface = Surface();
    const ui::Color outline = on ? kMarkOutline : kErased;
    const ui::Color lines = on ? kMarkLines : kErased;
    surface.Box(mark->x1, mark->y1, mark->x2, mark->y2, outline);
    surface.Line(mark->x1, mark->cy, mark->x2, mark->cy, lines);
    surface.Line(mark->cx, mark->y1, mark->cx, mark->y2, lines);
}

void CalibrationScreen::ShowTouchPrompt(const std::string& targetName) {
    ui::Control& first = form_.Ctl("lblMesg1");
    ui::Control& second = form_.Ctl("lblMesg2");
    form_.Ctl("lblMesg3").SetVisible(false);
    first.SetCaption(kTouchPromptLine1);
    second.SetCaption("show on the " + targetName + " of the screen");
    second.SetLeft(first.Left());
    first.SetVisible(true);
    second.SetVisible(true);
}

void CalibrationScreen::ShowLiftPrompt(const std::string& text) {
    form_.Ctl("lblMesg1").SetVisible(false);
    form_.Ctl("lblMesg2").SetVisible(false);
    ui::Control& lift = form_.Ctl("lblMesg3");
    lift.SetCaption(kLiftPromptPrefix + text);
    lift.SetVisible(true);
}

void CalibrationScreen::SetTouchIndicator(bool on) {
    ui::Control& stat = form_.Ctl("picStat");
    const ui::Color colour = on ? kTouched : kUntouched;
    if (stat.BackColor() == colour) return;
    stat.SetBackColor(colour);
    // The transparent resolution text shows the new colour only when it
    // is painted again too.
    stat.Refresh();
}

void CalibrationScreen::ShowInstructions(bool visible) {
    form_.Ctl("picMesg").SetVisible(visible);
    form_.Ctl("lblHelp").SetVisible(visible);
}

void CalibrationScreen::HideSurface() { Surface().SetVisible(false); }

void CalibrationScreen::FocusSurface() {
    if (!form_.Loaded() || !Surface().Visible()) return;
    form_.SetFocus();
    Surface().SetFocus();
}

}  // namespace kv::panel
