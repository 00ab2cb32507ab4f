#include "common/branding/product_info.h"

#include "common/registry/registry_store.h"

namespace kv {

void ProductInfo::SelectProductKey(RegKey root, const std::string& keyPath,
                                   const std::string& subkey) {
    Root = root;
    KeyPath = keyPath;
    Subkey = subkey;
}

bool ProductInfo::LoadProductInfo(RegistryPort& registry) {
    RegKey key = 0;
    if (!OpenKey(registry, Root, KeyPath, Subkey, key)) return false;
    bool ok = true;
    // Non-short-circuit: every value is read even after a failure.
    ok &= ReadStringValue(registry, key, "VenderName", VenderName);
    ok &= ReadStringValue(registry, key, "VenderStyle", VenderStyle);
    ok &= ReadStringValue(registry, key, "InstallPath", InstallPath);
    ok &= ReadStringValue(registry, key, "WindowsPath", WindowsPath);
    ok &= ReadStringValue(registry, key, "SystemPath", SystemPath);
    ok &= ReadStringValue(registry, key, "HardwareID", HardwareID);
    CloseKey(registry, key);
    return ok;
}

bool ProductInfo::LoadProductInformation(RegistryPort& registry) {
    SelectProductKey(kHkeyLocalMachine, kProductKeyPath, kProductSubkey);
    return LoadProductInfo(registry);
}

bool ProductInfo::ReadCalibrationMode(RegistryPort& registry) {
    RegKey key = 0;
    if (!OpenKey(registry, Root, KeyPath, Subkey, key)) return false;
    const bool read = ReadDwordValue(registry, key, "CalibrationMode", CalibrationMode);
    const bool closed = CloseKey(registry, key);
    return read && closed;
}

bool ProductInfo::WriteCalibrationMode(RegistryPort& registry) {
    RegKey key = 0;
    if (!OpenKey(registry, Root, KeyPath, Subkey, key)) return false;
    const bool written = SetDwordValue(registry, key, "CalibrationMode", CalibrationMode);
    const bool closed = CloseKey(registry, key);
    return written && closed;
}

}  // namespace kv
