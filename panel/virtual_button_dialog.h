// frmVirtualButton: the touch mode and the right-button function (on/off,
// manual or automatic in drag-drop mode, the automatic mode's hold times
// and beep); sent with SetTouchMode. Apply also starts the right-button
// agent KVRBTN, or tells a running one to close, as the new setting needs.
#pragma once

#include <cstdint>

#include "panel/settings_dialog.h"

namespace kv::panel {

// What the virtual-button Apply does with the right-button agent.
enum class AgentAction { Start, Close };

// The agent is needed while the right-button function is switched on,
// unless the driver already gives the right button by itself, which it
// does only in drag-drop mode with the automatic setting.
AgentAction DecideAgentAction(std::uint8_t touchMode, std::uint8_t rbFunction,
                              std::uint8_t rbAutoMode);

// "0.5", "1", "1.5" ... "5": the hold times, index 0 first.
const char* HoldTimeText(int index);
inline constexpr int kHoldTimeCount = 10;

class VirtualButtonDialog : public SettingsDialog {
public:
    static constexpr const char* kFormName = "frmVirtualButton";

    explicit VirtualButtonDialog(PanelContext& context);

private:
    void LoadControls() override;
    bool DiffersFromBlock() override;
    void WriteBlock() override;
    void SendBlock() override;
    void AfterSend() override;
    void RefreshSummary() override;

    void Design();
    void UpdateEnabledStates();
    void OptionClick(OptionGroup& group, int index);
    // A list pick: the selection byte follows, typed text changes nothing.
    void ListClick(const char* combo, std::uint8_t& selection, bool affectsEnabledStates);

    OptionGroup touchMode_;
    OptionGroup rbFunction_;
    std::uint8_t autoMode_ = 0;
    std::uint8_t toggleOn_ = 0;
    std::uint8_t toggleOff_ = 0;
    std::uint8_t beep_ = 0;
};

}  // namespace kv::panel
