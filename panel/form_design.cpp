#include "panel/form_design.h"

namespace kv::panel {

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
