// KVREMOVE's window frmMain: one question, Yes and No. Yes tells the
// agents to quit, runs and awaits the package's file remover, schedules
// this program's own deletion, removes the touch driver's mouse
// configuration and restarts Windows. Every failure before the self-deletion
// step ends the program with the registry untouched.
#pragma once

#include <memory>
#include <string>

#include "common/branding/product_info.h"
#include "common/device/device_channel.h"
#include "panel/about_window.h"
#include "panel/panel_context.h"
#include "setup/setupcommon/setup_ports.h"
#include "setup/setupcommon/status_window.h"
#include "ui/form.h"

namespace kv {

class ClockPort;
class DevicePort;
class ProcessWaitPort;
class UnattendedDesktop;

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
    // With `unattended` (which must be ports.setup.desktop) only
    // RunUnattended is used.
    explicit RemovalWindow(const RemovePorts& ports, const UnattendedDesktop* unattended = nullptr);

    // Loads and shows the window; false (after the box) when the product
    // information cannot be loaded, and the program ends.
    bool Start();

    // The removal as Yes makes it, with no window, no pause for the reader
    // and no restart. Returns kExitRestartNeeded when done, kExitFailed
    // when anything failed (the texts went to the log).
    int RunUnattended();

    ui::Form& Form() { return form_; }
    // The About window the icon opens; null until it was first opened.
    panel::AboutWindow* About() { return about_.get(); }
    StatusWindow& Status() { return status_; }

    // The question the window asks.
    static std::string Question();

private:
    void Load();
    void Layout();
    void Remove();  // cmdYes
    // Agents, file remover, self-deletion entry, mouse configuration;
    // false when the file remover failed, and nothing was changed.
    bool RemoveFromSystem();
    void CloseAgents();
    void EndProgram();
    void ShowAbout();  // imgIcon double-click

    RemovePorts ports_;
    const UnattendedDesktop* unattended_;
    std::string title_;
    BusyCursor busy_;
    ui::Form form_;
    StatusWindow status_;
    DeviceChannel channel_;
    ProductInfo product_;
    bool loadFailed_ = false;
    // The control panel's About window, shown over this window's header.
    PanelContext aboutContext_;
    std::unique_ptr<panel::AboutWindow> about_;
};

}  // namespace kv
