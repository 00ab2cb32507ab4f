// KVSETUP, the last step of the package installation: a status window,
// the initial settings and the vendor's title into the product key, the
// mouse configuration, the closing box and the restart. No main window,
// no questions.
#pragma once

#include <string>

#include "common/branding/product_info.h"
#include "setup/setupcommon/setup_ports.h"
#include "setup/setupcommon/status_window.h"

namespace kv {

inline constexpr int kSetupIconResource = 1;

class SetupProgram {
public:
    explicit SetupProgram(const SetupPorts& ports);

    // The whole installation, start to restart request.
    void Run();

    StatusWindow& Status() { return status_; }
    const ProductInfo& Product() const { return product_; }

private:
    // "setup.oem" [SETUP] TITLE and STYLE into VenderName and VenderStyle.
    void ImportVendorFile();
    void StoreVendorValue(const std::string& name, const std::string& text,
                          const std::string& failure);

    SetupPorts ports_;
    std::string title_;
    BusyCursor busy_;
    StatusWindow status_;
    ProductInfo product_;
};

}  // namespace kv
