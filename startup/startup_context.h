// What KVSTART's start procedure and its windows share: the platform
// ports, the device channel with the agent's own TouchParams copy (open
// only inside the start procedure), the product information and the
// double-click values in force.
#pragma once

#include "common/branding/product_info.h"
#include "common/device/device_channel.h"
#include "startup/double_click_values.h"

namespace kv {

class ClockPort;
class DesktopPort;
class DevicePort;
class MouseSettingsPort;
class ProcessPort;
class RegistryPort;

namespace ui {
class Form;
}

namespace startup {

struct StartupPorts {
    DevicePort& device;
    RegistryPort& registry;
    DesktopPort& desktop;
    ProcessPort& process;
    MouseSettingsPort& mouse;
    ClockPort& clock;
};

struct StartupContext {
    explicit StartupContext(const StartupPorts& ports)
        : devicePort(ports.device),
          registry(ports.registry),
          desktop(ports.desktop),
          process(ports.process),
          mouse(ports.mouse),
          clock(ports.clock),
          device(ports.device) {}

    DevicePort& devicePort;
    RegistryPort& registry;
    DesktopPort& desktop;
    ProcessPort& process;
    MouseSettingsPort& mouse;
    ClockPort& clock;

    DeviceChannel device;
    ProductInfo product;
    DoubleClickValues values;  // DoubleClickSpeed, DoubleClickWidth, DoubleClickHeight
    bool configMode = false;   // ConfigMode

    // frmMain, set when the window is built.
    ui::Form* main = nullptr;
};

}  // namespace startup
}  // namespace kv
