#include "startup/double_click_values.h"

#include <string>

#include "common/branding/product_info.h"
#include "common/registry/registry_store.h"

namespace kv::startup {

namespace {
bool OpenProductKey(RegistryPort& registry, const ProductInfo& product, RegKey& key) {
    std::string subkey = product.Subkey;  // OpenKey trims it in place
    return OpenKey(registry, product.Root, product.KeyPath, subkey, key);
}
}  // namespace

bool LoadDoubleClickValues(RegistryPort& registry, const ProductInfo& product,
                           DoubleClickValues& values) {
    RegKey key = 0;
    if (!OpenProductKey(registry, product, key)) return false;
    bool ok = true;
    // Non-short-circuit: every value is read even after a failure.
    ok &= ReadDwordValue(registry, key, "DoubleClickSpeed", values.DoubleClickSpeed);
    ok &= ReadDwordValue(registry, key, "DoubleClickWidth", values.DoubleClickWidth);
    ok &= ReadDwordValue(registry, key, "DoubleClickHeight", values.DoubleClickHeight);
    CloseKey(registry, key);
    return ok;
}

bool SaveDoubleClickValues(RegistryPort& registry, const ProductInfo& product,
                           const DoubleClickValues& values) {
    RegKey key = 0;
    if (!OpenProductKey(registry, product, key)) return false;
    bool ok = true;
    ok &= SetDwordValue(registry, key, "DoubleClickSpeed", values.DoubleClickSpeed);
    ok &= SetDwordValue(registry, key, "DoubleClickWidth", values.DoubleClickWidth);
    ok &= SetDwordValue(registry, key, "DoubleClickHeight", values.DoubleClickHeight);
    CloseKey(registry, key);
    return ok;
}

}  // namespace kv::startup
