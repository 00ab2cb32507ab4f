#include "panel/settings_dialog.h"

#include "common/branding/logo.h"
#include "common/winutil/form_placement.h"
#include "panel/form_design.h"

namespace kv::panel {

// ---- option groups ---------------------------------------------------------

ui::Control* OptionGroup::Button(int index) {
    return index >= 0 ? form_.Find(name_, index) : nullptr;
}

void OptionGroup::Load(std::uint8_t stored) {
    selection = stored;
    if (ui::Control* button = Button(stored)) {
        button->SetValue(1);  // its click finds k == selection: nothing more
        Highlight(*button, true);
    }
}

bool OptionGroup::Pick(int k) {
    if (k == selection) return false;
    if (ui::Control* old = Button(selection)) {
        old->SetValue(0);
        Highlight(*old, false);
    }
    selection = static_cast<std::uint8_t>(k);
    if (ui::Control* picked = Button(k)) {
        picked->SetValue(1);
        Highlight(*picked, true);
    }
    return true;
}

void ShowListIndex(ui::Control& combo, int index) {
    if (index >= 0 && index < combo.ListCount()) {
        combo.SetListIndex(index);
        return;
    }
    // The design text would pretend to be a stored value.
    combo.SetListIndex(-1);
    combo.SetText("");
}

// ---- the dialog --------------------------------------------------------------

SettingsDialog::SettingsDialog(PanelContext& context, const std::string& formName,
                               const std::string& designCaption, int clientWidth, int clientHeight)
    : context_(context), form_(formName) {
    form_.SetCaption(designCaption);
    form_.SetBorderStyle(ui::kBorderFixedDialog);
    form_.SetIconResource(kIconResource);
    form_.SetClientSize(clientWidth, clientHeight);
    AddHeader(form_, 360);
    AddDialogButtons(form_, clientWidth - 585, clientHeight - kDialogButtonHeight - 240);

    form_.OnLoad = [this] { Load(); };
    form_.OnUnload = [this] { ReturnToMain(*context_.main); };
    Ctl("cmdApply").Click = [this] { WithHourglass(&SettingsDialog::Apply); };
    Ctl("cmdOK").Click = [this] { Ok(); };
    Ctl("cmdCandel").Click = [this] { Cancel(); };
}

ui::Control& SettingsDialog::MainLabel(const std::string& name) { return context_.main->Ctl(name); }

void SettingsDialog::Load() {
    // The dialog's own controls come first in tab order, the button row
    // last, so the focus opens on the first setting.
    const int last = static_cast<int>(form_.Controls().size()) - 1;
    for (const char* button : {"cmdOK", "cmdCandel", "cmdApply"}) Ctl(button).SetTabIndex(last);
    loading_ = true;
    LoadControls();
    loading_ = false;
    UpdateApplyState();
    DressDialog(context_.product, *context_.main, form_);
}

void SettingsDialog::UpdateApplyState() { Ctl("cmdApply").SetEnabled(DiffersFromBlock()); }

void SettingsDialog::WithHourglass(void (SettingsDialog::*step)()) {
    form_.SetMousePointer(ui::kPointerHourglass);
    (this->*step)();
    // The step may have unloaded the form, which put its design pointer back.
    if (form_.Loaded()) form_.SetMousePointer(ui::kPointerDefault);
}

void SettingsDialog::Apply() {
    WriteBlock();
    SendBlock();
    AfterSend();
    RefreshSummary();
    Ctl("cmdApply").SetEnabled(false);
    AfterApply();
}

void SettingsDialog::Ok() {
    if (Ctl("cmdApply").Enabled()) WithHourglass(&SettingsDialog::Apply);
    Cancel();
}

void SettingsDialog::Cancel() {
    // Unload: the main window comes back (OnUnload).
    form_.SetMousePointer(ui::kPointerHourglass);
    form_.Unload();
}

}  // namespace kv::panel
