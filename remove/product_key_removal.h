// The product key goes with the uninstaller's last step, not with the
// files: a removal stopped after the file remover ran still needs the key
// to be run again and give the PS/2 mouse back.
#pragma once

namespace kv {

class RegistryPort;
class RegistryTreePort;

// Deletes the product key with everything in it, then the vendor's keys
// above it when nothing else is left in them.
void RemoveProductKey(RegistryPort& registry, RegistryTreePort& tree);

// After the product information failed to load: when the product key
// holds none of the product's values (the load's own open creates a
// missing key), it goes, and so do the vendor's keys above it that are
// left empty. This is what a removal stopped after deleting the product
// key leaves for its rerun; a key that still holds product values stays.
void TidyEmptyProductKey(RegistryPort& registry);

}  // namespace kv
