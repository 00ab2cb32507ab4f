#include "common/branding/about_window.h"

#include "common/branding/logo.h"
#include "common/branding/window_header.h"
#include "common/winutil/form_building.h"
#include "common/winutil/form_placement.h"

namespace kv {

namespace {
constexpr int kButtonWidth = 1095;
constexpr int kButtonHeight = 375;
}  // namespace

AboutWindow::AboutWindow(const ProductInfo& product, ui::Form* const& main, int iconResource,
                         const char* systemLineDesign)
    : product_(product), main_(main), form_(kFormName) {
    form_.SetCaption(" About");
    form_.SetBorderStyle(ui::kBorderFixedDialog);
    form_.SetIconResource(iconResource);
    form_.SetClientSize(6645, 2760);
    AddHeader(form_, 360, systemLineDesign, iconResource);
    ui::Control& rights = Place(form_, ui::ControlKind::Label, "lblRights", 480, 1320, 5580, 615);
    rights.SetCaption("Copyright");
    ui::Control& ok = Place(form_, ui::ControlKind::CommandButton, "cmdOK", 6060 - kButtonWidth,
                            2145, kButtonWidth, kButtonHeight);
    ok.SetCaption("&OK");
    ok.SetDefault(true);
    // Esc closes it too: the window has nothing to cancel.
    ok.SetCancel(true);

    form_.OnLoad = [this] { Load(); };
    form_.OnUnload = [this] { ReturnToMain(*main_); };
    ok.Click = [this] { form_.Unload(); };
}

void AboutWindow::Load() {
    form_.Ctl("lblSystem").SetCaption(main_->Ctl("lblSystem").Caption());
    form_.Ctl("lblRights").SetCaption(kRightsNotice);
    CopyLogo(product_, *main_, form_);
    CentreWindow(form_);
    CentreIcon(form_);
}

}  // namespace kv
