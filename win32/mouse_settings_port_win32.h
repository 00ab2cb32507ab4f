// MouseSettingsPort on Win32: one user32 call per method.
#pragma once

#include "common/ports/mouse_settings_port.h"

namespace kv::win32 {

class Win32MouseSettingsPort : public MouseSettingsPort {
public:
    bool SystemParametersInfoA(unsigned action, unsigned param, void* data,
                               unsigned flags) override;
    bool SetDoubleClickTime(unsigned ms) override;
    unsigned GetDoubleClickTime() override;
    int GetSystemMetrics(int index) override;
};

}  // namespace kv::win32
