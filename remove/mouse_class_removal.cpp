#include "remove/mouse_class_removal.h"

#include "common/ports/desktop_port.h"
#include "setup/setupcommon/mouse_class.h"

namespace kv {

void RemoveMouseClass(RegistryPort& registry, RegistryTreePort& tree, DesktopPort& desktop,
                      const std::string& title) {
    ScanAndDeletePs2Entries(registry, tree, [&](const std::string& path) {
        desktop.MessageBoxA(0, "RegDeleteKey fail! " + path, title, kMbOk);
    });
    DeleteBiosMouseKeys(tree);
}

}  // namespace kv
