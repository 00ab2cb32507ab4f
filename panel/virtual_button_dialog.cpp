#include "panel/virtual_button_dialog.h"

#include <string>

#include "common/summaries/summaries.h"
#include "common/winutil/companions.h"
#include "panel/form_design.h"

namespace kv::panel {

namespace {
constexpr int kClientWidth = 6645;
constexpr int kClientHeight = 4995;
constexpr int kDragDrop = 4;
constexpr int kOn = 1;
constexpr int kAutomatic = 1;
constexpr int kManual = 0;

constexpr const char* kAutomaticGroup[] = {"lblRBAutoSTime", "cboRBAutoSTime", "lblRBAutoSTimeSec",
                                           "lblRBAutoETime", "cboRBAutoETime", "lblRBAutoETimeSec",
                                           "lblRBAutoBeep",  "cboRBAutoBeep"};
}  // namespace

AgentAction DecideAgentAction(std::uint8_t touchMode, std::uint8_t rbFunction,
                              std::uint8_t rbAutoMode) {
    if (rbFunction != kOn || (rbAutoMode != kManual && touchMode == kDragDrop))
        return AgentAction::Close;
    return AgentAction::Start;
}

const char* HoldTimeText(int index) {
    static constexpr const char* kTimes[kHoldTimeCount] = {"0.5", "1",   "1.5", "2",   "2.5",
                                                           "3",   "3.5", "4",   "4.5", "5"};
    return index >= 0 && index < kHoldTimeCount ? kTimes[index] : "";
}

VirtualButtonDialog::VirtualButtonDialog(PanelContext& context)
    : SettingsDialog(context, kFormName, "Virtual Button", kClientWidth, kClientHeight),
      touchMode_(form_, "optVirtualButton"),
      rbFunction_(form_, "optRBFunction") {
    Design();
}

void VirtualButtonDialog::Design() {
    ui::Control& modeFrame =
        PlaceFrame(form_, "frameVirtualButton", "  Virtual Button Option  ", 480, 1320, 2655, 1575);
    for (int i = 1; i <= 4; ++i) {
        ui::Control& option = Place(form_, ui::ControlKind::OptionButton, "optVirtualButton", 240,
                                    300 + (i - 1) * 300, 2295, 255, &modeFrame, i);
        option.SetCaption("Option" + std::to_string(i));
        option.SetForeColor(ui::kTeal);
        option.Click = [this, i] { OptionClick(touchMode_, i); };
    }

    ui::Control& rbFrame =
        PlaceFrame(form_, "frameRBFunction", "  Right Button Function ", 3255, 1320, 2805, 1575);
    const char* rbCaptions[] = {"Disable ( Off )", "Enable  ( On )"};
    for (int i = 0; i <= 1; ++i) {
        ui::Control& option = Place(form_, ui::ControlKind::OptionButton, "optRBFunction", 240,
                                    300 + i * 300, 2325, 255, &rbFrame, i);
        option.SetCaption(rbCaptions[i]);
        option.SetForeColor(ui::kTeal);
        option.Click = [this, i] { OptionClick(rbFunction_, i); };
    }
    ui::Control& autoMode =
        Place(form_, ui::ControlKind::ComboBox, "cboRBAutoMode", 240, 1020, 2325, 315, &rbFrame);
    autoMode.SetText(" Automatic Mode");

    ui::Control& autoFrame = PlaceFrame(form_, "frameRBAutoMode", "  Right Button Automatic Mode",
                                        480, 3015, 5580, 1035);
    struct Row {
        const char* label;
        const char* caption;
        const char* combo;
        const char* seconds;
        int left, top;
    };
    const Row rows[] = {
        {"lblRBAutoSTime", "Toggle On", "cboRBAutoSTime", "lblRBAutoSTimeSec", 240, 300},
        {"lblRBAutoETime", "Toggle Off", "cboRBAutoETime", "lblRBAutoETimeSec", 2940, 300},
        {"lblRBAutoBeep", "Beep", "cboRBAutoBeep", nullptr, 240, 660},
    };
    for (const Row& row : rows) {
        Place(form_, ui::ControlKind::Label, row.label, row.left, row.top + 60, 975, 195,
              &autoFrame)
            .SetCaption(row.caption);
        ui::Control& combo = Place(form_, ui::ControlKind::ComboBox, row.combo, row.left + 1020,
                                   row.top, 855, 315, &autoFrame);
        combo.SetText(row.seconds != nullptr ? "1.5" : "Off");
        if (row.seconds != nullptr)
            Place(form_, ui::ControlKind::Label, row.seconds, row.left + 1995, row.top + 60, 495,
                  195, &autoFrame)
                .SetCaption("Sec.");
    }

    autoMode.Click = [this] { ListClick("cboRBAutoMode", autoMode_, true); };
    Ctl("cboRBAutoSTime").Click = [this] { ListClick("cboRBAutoSTime", toggleOn_, false); };
    Ctl("cboRBAutoETime").Click = [this] { ListClick("cboRBAutoETime", toggleOff_, false); };
    Ctl("cboRBAutoBeep").Click = [this] { ListClick("cboRBAutoBeep", beep_, false); };
}

void VirtualButtonDialog::LoadControls() {
    const TouchParams& block = Block();
    for (int i = 1; i <= 4; ++i)
        Ctl("optVirtualButton", i).SetCaption(" " + context_.touchModeNames[i]);

    touchMode_.selection = block.TouchMode;
    rbFunction_.selection = block.RBFunction;
    autoMode_ = block.RBAutoMode;
    toggleOn_ = block.RBAutoSTime;
    toggleOff_ = block.RBAutoETime;
    beep_ = block.RBAutoBeep;
    touchMode_.Load(block.TouchMode);
    rbFunction_.Load(block.RBFunction);

    ui::Control& autoMode = Ctl("cboRBAutoMode");
    autoMode.AddItem(" Manual Mode");
    autoMode.AddItem(" Automatic Mode");
    for (const char* combo : {"cboRBAutoSTime", "cboRBAutoETime"})
        for (int i = 0; i < kHoldTimeCount; ++i) Ctl(combo).AddItem(HoldTimeText(i));
    Ctl("cboRBAutoBeep").AddItem("Off");
    Ctl("cboRBAutoBeep").AddItem("On");
    // An index outside its list shows nothing and is kept as stored.
    ShowListIndex(autoMode, autoMode_);
    ShowListIndex(Ctl("cboRBAutoSTime"), toggleOn_);
    ShowListIndex(Ctl("cboRBAutoETime"), toggleOff_);
    ShowListIndex(Ctl("cboRBAutoBeep"), beep_);

    UpdateEnabledStates();
}

void VirtualButtonDialog::UpdateEnabledStates() {
    bool modeEnabled = false;
    bool groupEnabled = false;
    if (touchMode_.selection == kDragDrop) {
        modeEnabled = rbFunction_.selection == kOn;
        groupEnabled = autoMode_ == kAutomatic && modeEnabled;
    }
    Ctl("cboRBAutoMode").SetEnabled(modeEnabled);
    for (const char* name : kAutomaticGroup) Ctl(name).SetEnabled(groupEnabled);
}

void VirtualButtonDialog::OptionClick(OptionGroup& group, int index) {
    group.Pick(index);
    UpdateEnabledStates();
    UpdateApplyState();
}

void VirtualButtonDialog::ListClick(const char* combo, std::uint8_t& selection,
                                    bool affectsEnabledStates) {
    const int index = Ctl(combo).ListIndex();
    if (index < 0) return;  // nothing picked
    selection = static_cast<std::uint8_t>(index);
    if (affectsEnabledStates) UpdateEnabledStates();
    UpdateApplyState();
}

bool VirtualButtonDialog::DiffersFromBlock() {
    const TouchParams& block = Block();
    if (touchMode_.selection != block.TouchMode) return true;
    if (rbFunction_.selection != block.RBFunction) return true;
    // Greyed fields do not count.
    if (touchMode_.selection != kDragDrop || rbFunction_.selection != kOn) return false;
    if (autoMode_ != block.RBAutoMode) return true;
    if (autoMode_ != kAutomatic) return false;
    return toggleOn_ != block.RBAutoSTime || toggleOff_ != block.RBAutoETime ||
           beep_ != block.RBAutoBeep;
}

void VirtualButtonDialog::WriteBlock() {
    TouchParams& block = Block();
    block.TouchMode = touchMode_.selection;
    // All five, greyed or not: greyed ones still hold what was stored.
    block.RBFunction = rbFunction_.selection;
    block.RBAutoMode = autoMode_;
    block.RBAutoSTime = toggleOn_;
    block.RBAutoETime = toggleOff_;
    block.RBAutoBeep = beep_;
}

void VirtualButtonDialog::SendBlock() { context_.device.SetTouchMode(); }

void VirtualButtonDialog::AfterSend() {
    // Decided on the selections, which the block now holds.
    if (DecideAgentAction(touchMode_.selection, rbFunction_.selection, autoMode_) ==
        AgentAction::Close) {
        NotifyAgent(context_.device, context_.desktop, AgentClose);
    } else {
        // A second copy hands over to a running agent and exits.
        StartAgent(context_.process, context_.product.InstallPath);
    }
}

void VirtualButtonDialog::RefreshSummary() {
    const TouchParams& block = Block();
    MainLabel("lblVirtualButton")
        .SetCaption(TouchModeSummary(block.TouchMode, block.RBFunction, block.RBAutoMode));
}

}  // namespace kv::panel
