// The product information every program loads from the product key at
// start, and the control panel's stored calibration mode. One object per
// program, passed to whoever needs it.
#pragma once

#include <cstdint>
#include <string>

#include "common/ports/registry_port.h"

namespace kv {

inline constexpr const char* kProductKeyPath = "SOFTWARE\\Halvane\\TouchScreen";
inline constexpr const char* kProductSubkey = "KV-PS2";
inline constexpr const char* kProductVersion = "7.0.PS2";

struct ProductInfo {
    // The key every product-key operation works on.
    RegKey Root = kHkeyLocalMachine;
    std::string KeyPath;
    std::string Subkey;

    std::string VenderName;
    std::string VenderStyle;
    std::string InstallPath;  // no trailing "\"
    std::string WindowsPath;
    std::string SystemPath;
    std::string HardwareID;

    // 0 " 4 points, mode 1", 1 " 4 points, mode 2".
    std::int32_t CalibrationMode = 0;

    // The main window found "\KVLogo.Bmp" at start; dialogs follow it
    // without looking for the file again.
    bool LogoShown = false;

    void SelectProductKey(RegKey root, const std::string& keyPath, const std::string& subkey);

    // Reads the six text values; true only when the key opened and every
    // value was read. All six are attempted even when one fails.
    bool LoadProductInfo(RegistryPort& registry);
    // Selects HKEY_LOCAL_MACHINE\SOFTWARE\Halvane\TouchScreen\KV-PS2 and loads it.
    bool LoadProductInformation(RegistryPort& registry);

    // "CalibrationMode" (REG_DWORD); CalibrationMode stays as it is when
    // the value is missing or of another type.
    bool ReadCalibrationMode(RegistryPort& registry);
    bool WriteCalibrationMode(RegistryPort& registry);
};

}  // namespace kv
