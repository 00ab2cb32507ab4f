#include "setup/settings_import.h"

#include "common/branding/product_info.h"
#include "common/registry/registry_store.h"
#include "common/winutil/file_exists.h"
#include "setup/setupcommon/installer_registry.h"
#include "setup/setupcommon/setup_ports.h"
#include "setup/setupcommon/setup_value.h"

namespace kv {

void ImportSetupSettings(SetupPorts& ports, const ProductInfo& product, const std::string& title) {
    if (!FileExists(ports.process, product.InstallPath + "\\setup.ini")) return;
    std::string subkey = product.Subkey;
    RegKey key = 0;
    if (!OpenKey(ports.registry, product.Root, product.KeyPath, subkey, key)) return;

    auto read = [&](const char* name, std::int32_t min, std::int32_t max) {
        return ReadSetupValue(ports.ini, product.InstallPath, name, min, max);
    };
    const std::int32_t calibrationMode = read("CalibrationMode", 0, 1);
    const std::int32_t virtualButton = read("VirtualButton", 1, 4);
    const std::int32_t rightButtonFunction = read("RightButtonFunction", 0, 1);
    const std::int32_t autoMode = read("RightButtonAutoMode", 0, 1);
    const std::int32_t autoSTime = read("RightButtonAutoSTime", 0, 9);
    const std::int32_t autoETime = read("RightButtonAutoETime", 0, 9);
    const std::int32_t autoBeep = read("RightButtonAutoBeep", 0, 1);
    const std::int32_t feedbackSound = read("FeedbackSound", 1, 4);
    const std::int32_t feedbackTone = read("FeedbackTone", 200, 5000);
    const std::int32_t feedbackDuration = read("FeedbackDuration", 10, 50);
    const std::int32_t hSpeed = read("MouseHSpeed", 1, 20);
    const std::int32_t vSpeed = read("MouseVSpeed", 1, 20);
    const std::int32_t acceleration = read("MouseAcceleration", 1, 4);
    const std::int32_t bypass = read("MouseBypass", 0, 1);
    const std::int32_t doubleClickSpeed = read("DoubleClickSpeed", 100, 900);
    const std::int32_t doubleClickWidth = read("DoubleClickWidth", 0, 64);
    const std::int32_t doubleClickHeight = read("DoubleClickHeight", 0, 64);
    const std::int32_t panelDirection = read("PanelDirection", 0, 7);

    auto save = [&](const char* name, std::int32_t value, int size) {
        if (value >= 0) SaveSetupValue(ports.registry, ports.desktop, title, key, name, value, size);
    };
    // Four one-byte parts, the first in the highest byte; -1 unless all
    // four are present and in range.
    auto packed = [](std::int32_t b0, std::int32_t b1, std::int32_t b2, std::int32_t b3) {
        if (b0 < 0 || b1 < 0 || b2 < 0 || b3 < 0) return std::int32_t{-1};
        return static_cast<std::int32_t>((static_cast<std::uint32_t>(b0) << 24) |
                                         (static_cast<std::uint32_t>(b1) << 16) |
                                         (static_cast<std::uint32_t>(b2) << 8) |
                                         static_cast<std::uint32_t>(b3));
    };
    save("CalibrationMode", calibrationMode, 0);
    save("VirtualButton", virtualButton, 1);
    save("RightButtonFunction", rightButtonFunction, 1);
    save("RightButtonAutomatic", packed(autoMode, autoSTime, autoETime, autoBeep), 4);
    save("FeedbackSound", feedbackSound, 1);
    save("FeedbackTone", feedbackTone, 2);
    save("FeedbackDuration", feedbackDuration, 2);
    save("MouseSpeed", packed(hSpeed, vSpeed, acceleration, bypass), 4);
    save("DoubleClickSpeed", doubleClickSpeed, 0);
    save("DoubleClickWidth", doubleClickWidth, 0);
    save("DoubleClickHeight", doubleClickHeight, 0);
    save("PanelDirection", panelDirection, 1);
    CloseKey(ports.registry, key);
}

}  // namespace kv
