// The initial driver settings: "setup.ini" [Settings] into the product key.
#pragma once

#include <cstdint>
#include <string>

namespace kv {

struct ProductInfo;
struct SetupPorts;

// Each of the eighteen keys that is present and in range is written, in a
// fixed order, as a REG_DWORD or a 1-, 2- or 4-byte REG_BINARY;
// "RightButtonAutomatic" and "MouseSpeed" only when all four of their keys
// are. Nothing happens when "setup.ini" is missing or the product key does
// not open; a failed write shows its box and the next value is written.
void ImportSetupSettings(SetupPorts& ports, const ProductInfo& product, const std::string& title);

}  // namespace kv
