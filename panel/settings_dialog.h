// The behaviour the three settings dialogs share, written once:
//  - load: each dialog sets its controls from the program's TouchParams
//    copy, then the common dressing (caption and system line from the main
//    window, the vendor header, centring);
//  - change tracking: "&Apply" is enabled exactly while a control differs
//    from the block (the block holds what was last sent, so moving a
//    control back disables it again);
//  - Apply writes the controls into the block, sends it with the dialog's
//    request, refreshes the main window's summary and disables "&Apply";
//  - OK applies when needed and closes; Cancel closes without sending;
//  - closing, by any way, brings the main window back with the focus.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "panel/panel_context.h"
#include "ui/form.h"

namespace kv::panel {

// The buttons of one option array, read and set as the single byte of
// the block they stand for. The selection keeps the stored value even when no
// button of the group has that index; such a value then shows no button
// selected and counts as unchanged.
class OptionGroup {
public:
    OptionGroup(ui::Form& form, std::string name) : form_(form), name_(std::move(name)) {}

    std::uint8_t selection = 0;

    // Selection := stored; its button, if there is one, is set and black.
    void Load(std::uint8_t stored);
    // The group's click handler for button k: nothing when k is already
    // selected, else the old button is cleared and teal, the new one set
    // and black. True when the selection changed.
    bool Pick(int k);

private:
    ui::Control* Button(int index);

    ui::Form& form_;
    std::string name_;
};

class SettingsDialog {
public:
    virtual ~SettingsDialog() = default;
    SettingsDialog(const SettingsDialog&) = delete;
    SettingsDialog& operator=(const SettingsDialog&) = delete;

    ui::Form& Form() { return form_; }

protected:
    // Builds the form with its header and the OK/Cancel/Apply row; the
    // dialog adds its own controls in its constructor.
    SettingsDialog(PanelContext& context, const std::string& formName,
                   const std::string& designCaption, int clientWidth, int clientHeight);

    // The dialog's part of the pattern.
    virtual void LoadControls() = 0;
    virtual bool DiffersFromBlock() = 0;
    virtual void WriteBlock() = 0;
    virtual void SendBlock() = 0;
    // After the request, before the summary (the agent's start or close).
    virtual void AfterSend() {}
    virtual void RefreshSummary() = 0;
    // After "&Apply" has been disabled.
    virtual void AfterApply() {}

    // Every change handler ends here.
    void UpdateApplyState();

    TouchParams& Block() { return context_.Block(); }
    ui::Control& Ctl(const std::string& name, int index = -1) { return form_.Ctl(name, index); }
    ui::Control& MainLabel(const std::string& name);
    bool Loading() const { return loading_; }

    PanelContext& context_;
    ui::Form form_;

private:
    void Load();
    void Apply();
    void Ok();
    void Cancel();
    void WithHourglass(void (SettingsDialog::*step)());

    bool loading_ = false;
};

// The drop-down lists of the dialogs: a combo shows the stored index when
// its list has it, and nothing (no item, no text) when it does not.
void ShowListIndex(ui::Control& combo, int index);

}  // namespace kv::panel
