#include "panel/draw_test.h"

#include <string>

#include "common/winutil/form_placement.h"
#include "panel/form_design.h"

namespace kv::panel {

namespace {
// Design sizes, twips.
constexpr int kHeadHeight = 600;
constexpr int kMesgHeight = 510;
constexpr int kExitWidth = 1215;
constexpr int kCellHeight = 330;
constexpr int kWidthCellWidth = 360;
constexpr int kColorCellWidth = 360;
constexpr int kButtonCellWidth = 300;
constexpr int kNameHeight = 240;

const ui::Font kCellFont{"MS Sans Serif", 12, true, false};
const ui::Font kNameFont{"MS Sans Serif", 8.25, true, false};

constexpr const char* kButtonLetters[kButtonCount] = {"L", "M", "R"};
}  // namespace

int IndicatorElement(int button) {
    switch (button) {
        case ui::kLeftButton: return 0;
        case ui::kMiddleButton: return 1;
        case ui::kRightButton: return 2;
        default: return -1;
    }
}

DrawTest::DrawTest(PanelContext& context) : context_(context), form_(kFormName) { Design(); }

void DrawTest::Design() {
    form_.SetCaption("Test");
    form_.SetBorderStyle(ui::kBorderNone);
    form_.SetWindowState(ui::kWindowMaximized);
    form_.SetIconResource(kIconResource);
    form_.SetClientSize(9600, 7200);

    DesignTopBar();
    ui::Control& page = Place(form_, ui::ControlKind::PictureBox, "picHome", 0, kHeadHeight, 9600,
                              7200 - kHeadHeight - kMesgHeight);
    page.SetBorderStyle(0);
    page.SetBackColor(ui::kWhite);
    page.SetForeColor(kPenColors[0]);  // the pen of colour index 0
    // The page works in pixels: the pen width is in pixels too.
    page.SetScaleMode(ui::kScalePixels);
    DesignBottomBar();

    form_.OnLoad = [this] { Load(); };
    form_.OnActivate = [this] { Activate(); };
    form_.OnUnload = [this] { Unload(); };
    // A form whose height alone changes moves the bottom bar without sizing
    // it; the page must follow all the same.
    form_.OnResize = [this] { LayOutBottomBar(); };

    page.MouseDown = [this](int button, int, int x, int y) { PageDown(button, x, y); };
    page.MouseMove = [this](int, int, int x, int y) { PageMove(x, y); };
    page.MouseUp = [this](int button, int, int, int) { PageUp(button); };
    form_.Ctl("cmdClear").Click = [this] { form_.Ctl("picHome").Cls(); };
    form_.Ctl("cmdExit").Click = [this] { form_.Unload(); };
    for (int i = 0; i < kWidthCount; ++i) {
        ui::Control& cell = form_.Ctl("lblWidth", i);
        cell.Click = [this, i] { SelectWidth(i); };
        cell.MouseDown = [this, i](int, int, int, int) { SelectWidth(i); };
    }
    for (int i = 0; i < kColorCount; ++i) {
        ui::Control& swatch = form_.Ctl("lblColor", i);
        swatch.Click = [this, i] { SelectColor(i); };
        swatch.MouseDown = [this, i](int, int, int, int) { SelectColor(i); };
    }
}

void DrawTest::DesignTopBar() {
    ui::Control& head = Place(form_, ui::ControlKind::PictureBox, "picHead", 0, 0, 9600, kHeadHeight);
    head.SetAlign(ui::kDockTop);
    head.Resize = [this] { LayOutTopBar(); };

    ui::Control& icon = Place(form_, ui::ControlKind::Image, "imgIcon", 60, 60, 480, 480, &head);
    icon.SetPicture(ui::Platform().LoadResPicture(kIconResource, ui::PictureData::Type::Icon));

    ui::Control& title =
        Place(form_, ui::ControlKind::Label, "lblTitle", 660, 90, 2760, 375, &head);
    title.SetCaption("TouchScreen Test");
    title.SetForeColor(ui::Rgb(255, 0, 0));
    title.SetFont(ui::Font{"Times New Roman", 14.25, true, false});
    title.SetBackStyle(0);

    Place(form_, ui::ControlKind::CommandButton, "cmdClear", 6960, 60, kExitWidth, 420, &head)
        .SetCaption("&Clear");
    Place(form_, ui::ControlKind::CommandButton, "cmdExit", 8280, 60, kExitWidth, 420, &head)
        .SetCaption("E&xit Test");
}

void DrawTest::DesignBottomBar() {
    ui::Control& mesg = Place(form_, ui::ControlKind::PictureBox, "picMesg", 0, 7200 - kMesgHeight,
                              9600, kMesgHeight);
    mesg.SetAlign(ui::kDockBottom);
    mesg.Resize = [this] { LayOutBottomBar(); };

    // lblHelp first: it lies on top of its box.
    ui::Control& help = Place(form_, ui::ControlKind::Label, "lblHelp", 105, 105, 2190, kNameHeight,
                              &mesg);
    help.SetBackColor(kHelpGrey);
    ui::Control& helpBox =
        Place(form_, ui::ControlKind::Label, "lblHelpBox", 0, 0, 2400, 450, &mesg);
    helpBox.SetBorderStyle(1);

    auto name = [&](const char* control, const char* caption, int width) {
        ui::Control& label =
            Place(form_, ui::ControlKind::Label, control, 0, 105, width, kNameHeight, &mesg);
        label.SetCaption(caption);
        label.SetFont(kNameFont);
        label.SetBackStyle(0);
    };
    auto cell = [&](const char* array, int i, int width) -> ui::Control& {
        ui::Control& c =
            Place(form_, ui::ControlKind::Label, array, 0, 60, width, kCellHeight, &mesg, i);
        c.SetFont(kCellFont);
        c.SetAlignment(ui::kAlignCenter);
        return c;
    };

    name("lblWidthName", "Width", 540);
    for (int i = 0; i < kWidthCount; ++i) {
        ui::Control& c = cell("lblWidth", i, kWidthCellWidth);
        c.SetCaption(" " + std::to_string(i + 1) + " ");
        c.SetForeColor(ui::kBlack);
        c.SetBackColor(kWidthBack);
    }
    name("lblColorName", "Color", 525);
    for (int i = 0; i < kColorCount; ++i) {
        ui::Control& c = cell("lblColor", i, kColorCellWidth);
        c.SetBackColor(kPenColors[i]);
        c.SetBorderStyle(0);
    }
    name("lblButtonName", "Button", 615);
    for (int i = 0; i < kButtonCount; ++i) {
        ui::Control& c = cell("lblButton", i, kButtonCellWidth);
        c.SetCaption(kButtonLetters[i]);
        c.SetForeColor(ui::kBlack);
        c.SetBackColor(kYellow);
        c.SetBackStyle(0);  // the yellow shows only while the button is held
    }
}

// ---- life cycle -----------------------------------------------------------------

void DrawTest::Load() {
    drawing_ = false;
    widthIndex_ = 0;
    colorIndex_ = 0;
    modeSaved_ = false;
}

void DrawTest::Activate() {
    TouchParams& block = context_.Block();
    const bool first = !modeSaved_;
    if (first) {
        savedTouchMode_ = block.TouchMode;
        modeSaved_ = true;
    }
    // Drag-drop again on every activation: the test needs it while open.
    block.TouchMode = kDragDropMode;
    context_.device.SetTouchMode();
    // The default pen once per opening: a user's choice survives a message
    // box or a task switch.
    if (first) {
        SelectWidth(kFirstWidth);
        SelectColor(kFirstColor);
    }
}

void DrawTest::Unload() {
    // A window that was never activated changed nothing to give back.
    if (modeSaved_) {
        context_.Block().TouchMode = savedTouchMode_;
        context_.device.SetTouchMode();
        modeSaved_ = false;
    }
    drawing_ = false;
    if (context_.main != nullptr) ReturnToMain(*context_.main);
}

// ---- pen and colour ----------------------------------------------------------------

void DrawTest::SelectWidth(int i) {
    if (i == widthIndex_ || i < 0 || i >= kWidthCount) return;
    ui::Control& old = form_.Ctl("lblWidth", widthIndex_);
    old.SetForeColor(ui::kBlack);
    old.SetBackColor(kWidthBack);
    widthIndex_ = i;
    ui::Control& now = form_.Ctl("lblWidth", widthIndex_);
    now.SetForeColor(kYellow);
    now.SetBackColor(kWidthSelectedBack);
    form_.Ctl("picHome").SetDrawWidth(i + 1);
}

void DrawTest::SelectColor(int i) {
    if (i == colorIndex_ || i < 0 || i >= kColorCount) return;
    form_.Ctl("lblColor", colorIndex_).SetBorderStyle(0);
    colorIndex_ = i;
    ui::Control& now = form_.Ctl("lblColor", colorIndex_);
    now.SetBorderStyle(1);
    // The page's pen colour is the swatch's background.
    form_.Ctl("picHome").SetForeColor(now.BackColor());
}

// ---- drawing ------------------------------------------------------------------------

void DrawTest::PageDown(int button, int x, int y) {
    ui::Control& page = form_.Ctl("picHome");
    // A second button pressed during a stroke carries the stroke on.
    if (drawing_) {
        page.LineTo(x, y, page.ForeColor());
    } else {
        page.PSet(x, y, page.ForeColor());
        drawing_ = true;
    }
    Indicate(button, true);
}

void DrawTest::PageMove(int x, int y) {
    if (!drawing_) return;
    ui::Control& page = form_.Ctl("picHome");
    page.LineTo(x, y, page.ForeColor());
}

void DrawTest::PageUp(int button) {
    drawing_ = false;
    Indicate(button, false);
}

void DrawTest::Indicate(int button, bool on) {
    const int element = IndicatorElement(button);
    if (element < 0) return;
    form_.Ctl("lblButton", element).SetBackStyle(on ? 1 : 0);
}

// ---- layout -----------------------------------------------------------------------------

void DrawTest::LayOutTopBar() {
    ui::Control& head = form_.Ctl("picHead");
    ui::Control& icon = form_.Ctl("imgIcon");
    ui::Control& title = form_.Ctl("lblTitle");
    ui::Control& exit = form_.Ctl("cmdExit");
    ui::Control& clear = form_.Ctl("cmdClear");
    const int inner = head.ScaleHeight();

    const int m = (inner - icon.Height()) / 2;
    icon.Move(m, m, icon.Width(), icon.Height());
    title.Move(3 * icon.Left() + icon.Width(), (inner - title.Height()) / 2, title.Width(),
               title.Height());
    const int top = icon.Top();
    exit.Move(head.ScaleWidth() - exit.Width() - top, top, exit.Width(), inner - 2 * top);
    clear.Move(exit.Left() - exit.Width() - top, top, exit.Width(), exit.Height());
}

void DrawTest::LayOutBottomBar() {
    ui::Control& head = form_.Ctl("picHead");
    ui::Control& mesg = form_.Ctl("picMesg");
    form_.Ctl("picHome").Move(0, head.Height(), form_.ScaleWidth(),
                              form_.ScaleHeight() - head.Height() - mesg.Height());

    const int inner = mesg.ScaleHeight();
    const int m = (inner - form_.Ctl("lblButton", 0).Height()) / 2;
    int x = mesg.ScaleWidth();
    // Each group from its right end: the cells right to left, then its
    // name, then a second gap before the next group.
    auto group = [&](const char* array, int count, const char* nameLabel) {
        for (int i = count - 1; i >= 0; --i) {
            ui::Control& c = form_.Ctl(array, i);
            x -= m + c.Width();
            c.Move(x, m, c.Width(), c.Height());
        }
        ui::Control& name = form_.Ctl(nameLabel);
        x -= m + name.Width();
        name.Move(x, (inner - name.Height()) / 2, name.Width(), name.Height());
        x -= m;
    };
    group("lblButton", kButtonCount, "lblButtonName");
    group("lblColor", kColorCount, "lblColorName");
    group("lblWidth", kWidthCount, "lblWidthName");

    ui::Control& box = form_.Ctl("lblHelpBox");
    box.Move(0, 0, x - m, inner);
    ui::Control& help = form_.Ctl("lblHelp");
    const int helpTop = (box.Height() - help.Height()) / 2;
    help.Move(helpTop, helpTop, box.Width() - 2 * helpTop, help.Height());
}

}  // namespace kv::panel
