#include "setup/mouse_class_config.h"

#include <utility>
#include <vector>

#include "common/branding/product_info.h"
#include "common/ports/desktop_port.h"
#include "common/registry/registry_store.h"
#include "setup/setupcommon/ini_strings.h"
#include "setup/setupcommon/installer_registry.h"
#include "setup/setupcommon/mouse_class.h"
#include "setup/setupcommon/setup_ports.h"

namespace kv {

namespace {

constexpr unsigned kMbIconWarning = 0x30;
constexpr const char* kConfigFailure = "Fail to config system registry!";

void ReportFailure(SetupPorts& ports, const std::string& title) {
    ports.desktop.MessageBoxA(0, kConfigFailure, title, kMbOk | kMbIconWarning);
}

}  // namespace

std::string TouchDeviceDescription(const std::string& id) {
    return std::string("TouchScreen - PS/2 Mouse (") + kProductVersion + "." + id.substr(1) + ")";
}

bool ConfigureMouseClass(SetupPorts& ports, const ProductInfo& product, const std::string& title) {
    const std::string q = "\"";
    std::vector<std::pair<std::string, std::string>> strings = {
        {"OEM_NAME", q + "TouchScreen" + q},
        {"OEM_CALL", q + "TouchScreen - PS/2 Mouse Driver V." + kProductVersion + q},
        {"InstallPath", product.InstallPath},
    };
    for (const char* id : kPs2MouseIds)
        strings.emplace_back(std::string(id) + ".DeviceDesc", q + TouchDeviceDescription(id) + q);

    const std::string inf = product.WindowsPath + "\\inf\\KVTOUCH.INF";
    for (const auto& [key, text] : strings) {
        if (!WriteIniString(ports.ini, inf, "Strings", key, text)) {
            ReportFailure(ports, title);
            return false;
        }
    }

    const MouseClassScan scan =
        ScanAndDeletePs2Entries(ports.registry, ports.registryTree, [&](const std::string& path) {
            ports.desktop.MessageBoxA(0, "RegDeleteKey fail! (" + path + ")", title, kMbOk);
        });
    DeleteBiosMouseKeys(ports.registryTree);

    // With no PS/2 entry the driver's entry takes the first free number;
    // an empty name would put its values into the class key itself.
    std::string entry = scan.firstPs2.empty() ? scan.firstUnused : scan.firstPs2;
    RegKey key = 0;
    bool ok = !entry.empty() && OpenKey(ports.registry, kHkeyLocalMachine, kMouseClassKey, entry, key);
    if (ok) {
        const std::pair<const char*, std::string> values[] = {
            {"DevLoader", "*vmouse"},
            {"MouseType", "PS2"},
            {"NoSetupUI", "1"},
            {"InfPath", "KVTOUCH.INF"},
            {"InfSection", "KvPS2"},
            {"DriverDesc", TouchDeviceDescription(kPs2MouseIds[0])},
            {"MouseDriver", "KVTOUCH.VXD"},
        };
        for (const auto& [name, text] : values)
            ok = SetStringValue(ports.registry, key, name, text) && ok;
        CloseKey(ports.registry, key);
    }
    if (!ok) ReportFailure(ports, title);
    return ok;
}

}  // namespace kv
