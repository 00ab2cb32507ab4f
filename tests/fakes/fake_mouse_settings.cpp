#include "tests/fakes/fake_mouse_settings.h"

namespace kv {

bool FakeMouseSettings::SystemParametersInfoA(unsigned action, unsigned param, void*,
                                              unsigned flags) {
    calls.push_back({"SystemParametersInfoA", action, param, flags});
    if (failingActions.count(action) != 0) return false;
    switch (action) {
        case kSpiSetDoubleClkWidth: doubleClickWidth = static_cast<int>(param); return true;
        case kSpiSetDoubleClkHeight: doubleClickHeight = static_cast<int>(param); return true;
        case kSpiSetDoubleClickTime: doubleClickTime = param; return true;
        default: return false;
    }
}

bool FakeMouseSettings::SetDoubleClickTime(unsigned ms) {
    calls.push_back({"SetDoubleClickTime", 0, ms, 0});
    doubleClickTime = ms;
    return true;
}

int FakeMouseSettings::GetSystemMetrics(int index) {
    switch (index) {
        case kSmCxScreen: return screenWidth;
        case kSmCyScreen: return screenHeight;
        case kSmCxDoubleClk: return doubleClickWidth;
        case kSmCyDoubleClk: return doubleClickHeight;
        default: return 0;
    }
}

}  // namespace kv
