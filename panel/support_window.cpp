#include "panel/support_window.h"

#include <algorithm>

#include "common/winutil/form_placement.h"
#include "panel/form_design.h"

namespace kv::panel {

SupportWindow::SupportWindow(PanelContext& context) : context_(context), form_(kFormName) {
    form_.SetCaption("Support");
    form_.SetBorderStyle(ui::kBorderFixedDialog);
    form_.SetIconResource(kIconResource);
    form_.SetClientSize(4800, 3600);
    ui::Control& picture =
        Place(form_, ui::ControlKind::PictureBox, "picSupport", 0, 60, 4800, 3000);
    picture.SetBorderStyle(0);
    picture.SetAutoSize(true);
    ui::Control& ok = Place(form_, ui::ControlKind::CommandButton, "cmdOK", 1800, 3120, 1215, 375);
    ok.SetCaption("&OK");
    ok.SetDefault(true);
    // Esc closes it, as it closes the About window.
    ok.SetCancel(true);

    form_.OnLoad = [this] { Load(); };
    form_.OnUnload = [this] { ReturnToMain(*context_.main); };
    ok.Click = [this] { form_.Unload(); };
}

void SupportWindow::Load() {
    form_.SetCaption(context_.main->Caption());
    ui::Control& picture = form_.Ctl("picSupport");
    ui::Control& ok = form_.Ctl("cmdOK");
    picture.SetPicture(ui::LoadPicture(context_.venderBitmapPath));

    const ui::Picture& shown = picture.GetPicture();
    const int pictureWidth = shown ? shown->widthPx * ui::TwipsPerPixelX() : 0;
    const int pictureHeight = shown ? shown->heightPx * ui::TwipsPerPixelY() : 0;
    const int l = picture.Left();
    const int t = picture.Top();
    // A picture narrower than the button would cut the button off.
    const int clientWidth = std::max(pictureWidth + 2 * l, ok.Width() + 4 * t);
    const int clientHeight = pictureHeight + 5 * t + ok.Height();
    const int frameWidth = form_.Width() - form_.ScaleWidth();
    const int frameHeight = form_.Height() - form_.ScaleHeight();
    form_.Move(form_.Left(), form_.Top(), clientWidth + frameWidth, clientHeight + frameHeight);
    ok.Move((clientWidth - ok.Width()) / 2, 3 * t + pictureHeight, ok.Width(), ok.Height());
    CentreWindow(form_);
}

}  // namespace kv::panel
