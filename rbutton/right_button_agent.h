// KVRBTN: the right-button agent, a tiny always-on-top window with one
// picture button at the lower right of the work area. A tap on it makes
// the driver turn the following touch into a right click; the agent then
// polls until that click has happened or the user gives up (a key, or a
// click on the window).
//
// Its window handle is left with the driver, which is where the control
// panel and the startup agent look it up to send it WM_USER commands.
#pragma once

#include <cstdint>
#include <string>

#include "common/device/device_channel.h"
#include "common/ports/desktop_port.h"
#include "ui/form.h"

namespace kv {

// What the agent needs from the platform beyond the ports.
class AgentHost {
public:
    virtual ~AgentHost() = default;
    // Puts the agent's procedure in front of the window's own.
    virtual void ReplaceWindowProcedure(ui::Form& form) = 0;
    virtual void RestoreWindowProcedure(ui::Form& form) = 0;
    // Makes the window visible even when the program was started with the
    // hidden show state.
    virtual void ForceVisible(ui::Form& form) = 0;
    // Blocks until a window event arrives or `ms` milliseconds pass, so the
    // armed wait polls the driver without burning a core.
    virtual void WaitForEvents(int ms) = 0;
};

class RightButtonAgent {
public:
    static constexpr const char* kFormName = "frmRightButton";
    static constexpr const char* kDesignCaption = "TouchScreen Right Button";
    static constexpr int kButtonTwips = 600;
    static constexpr int kButtonPicture = 101;  // bitmap resource of cmdAction
    static constexpr int kPollIntervalMs = 10;

    RightButtonAgent(DeviceChannel& device, DesktopPort& desktop, AgentHost& host);

    ui::Form& Form() { return form_; }
    // Loads and shows the window; false when the program is to end at once
    // (driver missing, or another agent already runs).
    bool Start();
    // WM_USER (0x400) with a command in wParam; returns the message result.
    std::intptr_t HandleCommand(std::uintptr_t wParam, std::intptr_t lParam);

    bool Armed() const { return waiting_ == 1; }
    int Waiting() const { return waiting_; }

private:
    void Design();
    void SetUpWindow();
    void Load();
    void Arm();
    void Cancel();
    void Unload();

    DeviceChannel& device_;
    DesktopPort& desktop_;
    AgentHost& host_;
    ui::Form form_;
    std::int16_t waiting_ = 0;
    bool endProgram_ = false;
    bool registered_ = false;
    bool procedureReplaced_ = false;
};

// "RBF_WndProc Fail! wParam=1234h, lParam=0h"
std::string UnknownCommandText(std::uintptr_t wParam, std::intptr_t lParam);

}  // namespace kv
