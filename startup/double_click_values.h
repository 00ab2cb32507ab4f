// The user's double-click settings as the product key stores them
// (REG_DWORD "DoubleClickSpeed", "DoubleClickWidth", "DoubleClickHeight").
#pragma once

#include <cstdint>

namespace kv {
class RegistryPort;
struct ProductInfo;
}  // namespace kv

namespace kv::startup {

struct DoubleClickValues {
    std::int32_t DoubleClickSpeed = 500;  // ms
    std::int32_t DoubleClickWidth = 32;   // pixels
    std::int32_t DoubleClickHeight = 32;  // pixels
    bool operator==(const DoubleClickValues&) const = default;
};

// Reads the three values from the product key `product` last selected
// (creating the key when missing). Each value is taken only when it is a
// REG_DWORD; one that was read is kept even when another fails. True when
// the key opened and all three were read.
bool LoadDoubleClickValues(RegistryPort& registry, const ProductInfo& product,
                           DoubleClickValues& values);

// Writes the three values there; true when the key opened and all three
// were written.
bool SaveDoubleClickValues(RegistryPort& registry, const ProductInfo& product,
                           const DoubleClickValues& values);

}  // namespace kv::startup
