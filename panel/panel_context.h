// What every window of the control panel shares: the platform ports, the
// device channel with the program's one TouchParams copy, the product
// information, the three name lists and the vendor bitmap path. The main
// window fills it at start-up; the dialogs read and change it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/branding/product_info.h"
#include "common/device/device_channel.h"

namespace kv {

class DesktopPort;
class DevicePort;
class ProcessPort;
class RegistryPort;

namespace ui {
class Form;
}

struct PanelPorts {
    DevicePort& device;
    RegistryPort& registry;
    DesktopPort& desktop;
    ProcessPort& process;
};

// A name list numbered from 1, as the driver stores the values.
class NameList1 {
public:
    static constexpr int kCount = 4;
    void Fill(const std::array<std::string_view, kCount>& names);
    // The entry `i` (1..4); "" for any other index or before Fill.
    const std::string& operator[](int i) const;
    int UpperBound() const { return filled_ ? kCount : 0; }

private:
    std::array<std::string, kCount> names_;
    bool filled_ = false;
};

struct PanelContext {
    explicit PanelContext(const PanelPorts& ports);

    TouchParams& Block() { return device.Params; }

    DevicePort& devicePort;
    RegistryPort& registry;
    DesktopPort& desktop;
    ProcessPort& process;

    DeviceChannel device;  // DeviceHandle and the one TouchParams copy
    ProductInfo product;
    NameList1 touchModeNames;
    NameList1 soundModeNames;
    NameList1 accelerationNames;
    // "<InstallPath>\KVVender.Bmp" unless the support button is cut.
    std::string venderBitmapPath;

    // The main window's form, set when the main window is built.
    ui::Form* main = nullptr;
};

}  // namespace kv
