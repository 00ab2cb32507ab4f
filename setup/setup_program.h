// KVSETUP, run once by the package when its files are in place: it stores
// the shipped settings and the vendor's title in the product key, rewires
// the mouse configuration and asks for the restart that brings the touch
// driver in. It only reports progress and failures; it asks nothing.
#pragma once

#include <string>

#include "common/branding/product_info.h"
#include "setup/setupcommon/setup_ports.h"
#include "setup/setupcommon/status_window.h"

namespace kv {

class UnattendedDesktop;

inline constexpr int kSetupIconResource = 1;

class SetupProgram {
public:
    // With `unattended` (which must be ports.desktop) the run shows
    // nothing and does not restart: see Run.
    explicit SetupProgram(const SetupPorts& ports, const UnattendedDesktop* unattended = nullptr);

    // The whole installation, start to restart request. Returns the exit
    // code: 0 interactively; unattended, kExitRestartNeeded when it is done
    // and kExitFailed when anything failed.
    int Run();

    StatusWindow& Status() { return status_; }
    const ProductInfo& Product() const { return product_; }

private:
    // "setup.oem" [SETUP] TITLE and STYLE into VenderName and VenderStyle.
    void ImportVendorFile();
    void StoreVendorValue(const std::string& name, const std::string& text,
                          const std::string& failure);

    SetupPorts ports_;
    const UnattendedDesktop* unattended_;
    std::string title_;
    BusyCursor busy_;
    StatusWindow status_;
    ProductInfo product_;
};

}  // namespace kv
