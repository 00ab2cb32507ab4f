// KVREMOVE's window frmMain: one question, Yes and No. Yes tells the
// agents to quit, runs and awaits the package's file remover, schedules
// this program's own deletion, removes the touch driver's mouse
// configuration and restarts Windows. Every failure before the self-deletion
// step ends the program with the registry untouched.
#pragma once

#include <string>

#include "common/branding/product_info.h"
#include "common/device/device_channel.h"
#include "setup/setupcommon/setup_ports.h"
#include "setup/setupcommon/status_window.h"
#include "ui/form.h"

namespace kv {

class ClockPort;
class DevicePort;
class ProcessWaitPort;

struct RemovePorts {
    SetupPorts setup;
    DevicePort& device;
    ProcessWaitPort& processWait;
    ClockPort& clock;
};

inline constexpr int kRemoveIconResource = 1;
inline constexpr const char* kRemoveSystemLine = "TouchScreen Software Removal Version ";

class RemovalWindow {
public:
    explicit RemovalWindow(const RemovePorts& ports);

    // Loads and shows the window; false (after the box) when the product
    // information cannot be loaded, and the program ends.
    bool Start();

    ui::Form& Form() { return form_; }
    StatusWindow& Status() { return status_; }

    // The question the window asks.
    static std::string Question();

private:
    void Load();
    void Layout();
    void Remove();  // cmdYes
    void CloseAgents();
    void EndProgram();

    RemovePorts ports_;
    std::string title_;
    BusyCursor busy_;
    ui::Form form_;
    StatusWindow status_;
    DeviceChannel channel_;
    ProductInfo product_;
    bool loadFailed_ = false;
};

}  // namespace kv
