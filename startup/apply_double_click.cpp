#include "startup/apply_double_click.h"

#include <cstdint>
#include <string>

#include "common/ports/mouse_settings_port.h"
#include "common/ports/registry_port.h"
#include "common/registry/registry_store.h"
#include "common/winutil/message_boxes.h"

namespace kv::startup {

namespace {

// The decimal text with its one NUL, as Windows keeps these values.
bool SetTextValue(RegistryPort& registry, RegKey key, const char* name, std::int32_t value) {
    const std::string text = std::to_string(value);
    return registry.RegSetValueExA(key, name, kRegSz,
                                   reinterpret_cast<const std::uint8_t*>(text.c_str()),
                                   static_cast<std::uint32_t>(text.size() + 1)) == kErrorSuccess;
}

bool SetSystemValue(MouseSettingsPort& mouse, unsigned action, std::int32_t value) {
    // Broadcast only: the profile is written below, value by value.
    return mouse.SystemParametersInfoA(action, static_cast<unsigned>(value), nullptr,
                                       kSpifSendWinIniChange);
}

}  // namespace

std::string DoubleClickFailureText(const std::string& letters) {
    return "Fail to SetDoubleClock (" + letters + ")!";
}

void ApplyDoubleClick(MouseSettingsPort& mouse, RegistryPort& registry, DesktopPort& desktop,
                      const ProductInfo& product, const DoubleClickValues& values,
                      const std::string& programTitle) {
    std::string failed;
    if (!SetSystemValue(mouse, kSpiSetDoubleClkWidth, values.DoubleClickWidth)) failed += 'W';
    if (!SetSystemValue(mouse, kSpiSetDoubleClkHeight, values.DoubleClickHeight)) failed += 'H';
    if (!SetSystemValue(mouse, kSpiSetDoubleClickTime, values.DoubleClickSpeed)) failed += 'T';
    mouse.SetDoubleClickTime(static_cast<unsigned>(values.DoubleClickSpeed));

    RegKey key = 0;
    std::string subkey = kMouseSubkey;
    if (OpenKey(registry, kHkeyCurrentUser, kMouseKeyPath, subkey, key)) {
        if (!SetTextValue(registry, key, "DoubleClickWidth", values.DoubleClickWidth)) failed += 'w';
        if (!SetTextValue(registry, key, "DoubleClickHeight", values.DoubleClickHeight))
            failed += 'h';
        if (!SetTextValue(registry, key, "DoubleClickSpeed", values.DoubleClickSpeed)) failed += 't';
        CloseKey(registry, key);
        SaveDoubleClickValues(registry, product, values);  // a failure here is not reported
    } else {
        failed += 'R';
    }

    if (!failed.empty()) ErrorBox(desktop, DoubleClickFailureText(failed), programTitle);
}

}  // namespace kv::startup
