#include "remove/mouse_class_removal.h"

#include "common/ports/desktop_port.h"
#include "common/ports/registry_port.h"
#include "setup/setupcommon/installer_registry.h"
#include "setup/setupcommon/mouse_class.h"

namespace kv {

void RemoveMouseClass(RegistryPort& registry, RegistryTreePort& tree, DesktopPort& desktop,
                      const std::string& title) {
    // A stopped installation may have left its complete copy, which also
    // loads the driver, and the entry it was building.
    const std::string replaced = StagedEntry(registry);
    DeleteMouseEntries(tree, EntriesToDelete(registry, ScanMouseClass(registry), replaced),
                       [&](const std::string& path) {
                           desktop.MessageBoxA(0, "RegDeleteKey fail! " + path, title, kMbOk);
                       });
    DeleteKey(tree, kHkeyLocalMachine, MouseEntryPath(kStagingEntry));
    // Entries first: a device detected again must not find the touch
    // driver's entry, whose files the remover has already deleted.
    DeleteBiosMouseKeys(tree);
}

}  // namespace kv
