// ApplyDoubleClick: the double-click values into Windows (the running
// settings, broadcast to every program, and the user's profile under
// HKEY_CURRENT_USER "Control Panel\Mouse"), then into the product key.
#pragma once

#include <string>

#include "startup/double_click_values.h"

namespace kv {
class DesktopPort;
class MouseSettingsPort;
class RegistryPort;
struct ProductInfo;
}  // namespace kv

namespace kv::startup {

inline constexpr const char* kMouseKeyPath = "Control Panel";
inline constexpr const char* kMouseSubkey = "Mouse";

// Runs every step and saves the values to the product key (unless the
// user's mouse key cannot be opened); when a step fails, the error box
// "Fail to SetDoubleClock (<letters>)!" names the failed steps in order:
// W, H, T for the three system settings, R for the mouse key, w, h, t for
// its three values.
void ApplyDoubleClick(MouseSettingsPort& mouse, RegistryPort& registry, DesktopPort& desktop,
                      const ProductInfo& product, const DoubleClickValues& values,
                      const std::string& programTitle);

std::string DoubleClickFailureText(const std::string& letters);

}  // namespace kv::startup
