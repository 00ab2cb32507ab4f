// The mouse settings Windows keeps for every program: the double-click
// time and rectangle, and the screen metrics read beside them. One method
// per platform call, arguments as the system passes them.
#pragma once

namespace kv {

// SystemParametersInfoA actions and update flags.
constexpr unsigned kSpiSetDoubleClkWidth = 29;
constexpr unsigned kSpiSetDoubleClkHeight = 30;
constexpr unsigned kSpiSetDoubleClickTime = 32;
constexpr unsigned kSpifSendWinIniChange = 2;

// GetSystemMetrics indices.
constexpr int kSmCxScreen = 0;
constexpr int kSmCyScreen = 1;
constexpr int kSmCxDoubleClk = 36;
constexpr int kSmCyDoubleClk = 37;

class MouseSettingsPort {
public:
    virtual ~MouseSettingsPort() = default;
    // `data` is passed through untouched (the double-click actions take none).
    virtual bool SystemParametersInfoA(unsigned action, unsigned param, void* data,
                                       unsigned flags) = 0;
    virtual bool SetDoubleClickTime(unsigned ms) = 0;
    virtual unsigned GetDoubleClickTime() = 0;
    virtual int GetSystemMetrics(int index) = 0;
};

}  // namespace kv
