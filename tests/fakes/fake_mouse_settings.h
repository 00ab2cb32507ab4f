// The mouse settings for unit tests: the double-click time and rectangle
// as Windows keeps them (a successful SystemParametersInfoA or
// SetDoubleClickTime changes what GetDoubleClickTime / GetSystemMetrics
// answer), a settable screen size, and chosen actions that fail.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "common/ports/mouse_settings_port.h"

namespace kv {

class FakeMouseSettings : public MouseSettingsPort {
public:
    struct Call {
        std::string name;  // "SystemParametersInfoA", "SetDoubleClickTime"
        unsigned action = 0;
        unsigned param = 0;
        unsigned flags = 0;
    };

    bool SystemParametersInfoA(unsigned action, unsigned param, void* data,
                               unsigned flags) override;
    bool SetDoubleClickTime(unsigned ms) override;
    unsigned GetDoubleClickTime() override { return doubleClickTime; }
    int GetSystemMetrics(int index) override;

    unsigned doubleClickTime = 500;
    int doubleClickWidth = 4;
    int doubleClickHeight = 4;
    int screenWidth = 1024;
    int screenHeight = 768;

    std::set<unsigned> failingActions;  // SystemParametersInfoA actions that fail
    std::vector<Call> calls;
};

}  // namespace kv
