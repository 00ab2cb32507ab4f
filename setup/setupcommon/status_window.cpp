#include "setup/setupcommon/status_window.h"

#include <algorithm>

#include "common/winutil/centring.h"
#include "ui/backend.h"

namespace kv {

namespace {
constexpr int kLineHeight = 195;  // one line of the 8.25 pt label, twips
constexpr int kInnerWidth = 5400;
constexpr int kLabelLeft = 1080;
}  // namespace

void BusyCursor::Set(int code) {
    if (code == kBusyCursor) {
        if (count_ < INT16_MAX) ++count_;
    } else if (code == kIdleCursor) {
        if (count_ > 0) --count_;
    } else {
        ui::Platform().SetScreenMousePointer(code);
        return;
    }
    ui::Platform().SetScreenMousePointer(count_ > 0 ? ui::kPointerHourglass : ui::kPointerDefault);
}

void CenterWindow(ui::Form& window, BusyCursor& busy) {
    busy.Set(kBusyCursor);
    const WindowPlacement at = CentredPlacement(ui::ScreenWidthTwips(), ui::ScreenHeightTwips(),
                                                window.Width(), window.Height());
    window.Move(at.left, at.top, window.Width(), window.Height());
    busy.Set(kIdleCursor);
}

StatusWindow::StatusWindow(const std::string& title, int iconResource, BusyCursor& busy)
    : form_(kFormName), busy_(busy) {
    form_.SetCaption(title);
    form_.SetBorderStyle(ui::kBorderFixedDialog);
    // It stands for work under way: closing it would not stop the work,
    // only hide it until the closing box appears.
    form_.SetClosable(false);
    form_.SetIconResource(iconResource);
    form_.SetClientSize(kInnerWidth, 960);
    ui::Control& picture = form_.Add(ui::ControlKind::Image, "imgMsg");
    picture.Move(240, 240, 480, 480);
    picture.SetPicture(ui::Platform().LoadResPicture(iconResource, ui::PictureData::Type::Icon));
    ui::Control& label = form_.Add(ui::ControlKind::Label, "lblMsg");
    label.Move(kLabelLeft, 360, kInnerWidth - kLabelLeft - 240, kLineHeight);
}

void StatusWindow::ShowStatusMessage(const std::string& text) {
    form_.Load();
    ui::Control& label = form_.Ctl("lblMsg");
    ui::Control& picture = form_.Ctl("imgMsg");
    label.SetCaption(text);
    // The label grows with its lines, as an auto-sized label does.
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    label.SetHeight(lines * kLineHeight);

    int inner = 2 * picture.Height();
    if (label.Height() > inner) inner = label.Height() + picture.Height() / 2;
    form_.SetClientSize(kInnerWidth, inner);
    picture.SetTop(inner / 2 - picture.Height() / 2);
    label.SetTop(inner / 2 - label.Height() / 2);

    CenterWindow(form_, busy_);
    form_.Show();
    form_.Refresh();
}

}  // namespace kv
