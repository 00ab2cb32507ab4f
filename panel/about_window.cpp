#include "panel/about_window.h"

#include "common/branding/logo.h"
#include "common/winutil/form_placement.h"
#include "panel/form_design.h"

namespace kv::panel {

AboutWindow::AboutWindow(PanelContext& context) : context_(context), form_(kFormName) {
    form_.SetCaption(" About");
    form_.SetBorderStyle(ui::kBorderFixedDialog);
    form_.SetIconResource(kIconResource);
    form_.SetClientSize(6645, 2760);
    AddHeader(form_, 360);
    ui::Control& rights = Place(form_, ui::ControlKind::Label, "lblRights", 480, 1320, 5580, 615);
    rights.SetCaption("Copyright");
    ui::Control& ok =
        Place(form_, ui::ControlKind::CommandButton, "cmdOK", 6060 - kDialogButtonWidth, 2145,
              kDialogButtonWidth, kDialogButtonHeight);
    ok.SetCaption("&OK");
    ok.SetDefault(true);
    // Esc closes it too: the window has nothing to cancel.
    ok.SetCancel(true);

    form_.OnLoad = [this] { Load(); };
    form_.OnUnload = [this] { ReturnToMain(*context_.main); };
    ok.Click = [this] { form_.Unload(); };
}

void AboutWindow::Load() {
    form_.Ctl("lblSystem").SetCaption(context_.main->Ctl("lblSystem").Caption());
    form_.Ctl("lblRights").SetCaption(kRightsNotice);
    CopyLogo(context_.product, *context_.main, form_);
    CentreWindow(form_);
    CentreIcon(form_);
}

}  // namespace kv::panel
