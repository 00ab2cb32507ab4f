#include "setup/mouse_class_config.h"

#include <utility>
#include <vector>

#include "common/branding/product_info.h"
#include "common/ports/ini_port.h"
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

// The touch driver's entry at `name`. "MouseType" goes first: an entry
// stopped half-way is then a PS/2 entry to every later scan, which deletes
// it, rather than nameless junk no scan recognises. With `replaces`, the
// entry is the staging copy and that name follows the values, written
// only when they all were. True when everything was written.
bool WriteDriverEntry(RegistryPort& registry, const std::string& name, const std::string& replaces) {
    std::string subkey = name;
    RegKey key = 0;
    if (!OpenKey(registry, kHkeyLocalMachine, kMouseClassKey, subkey, key)) return false;
    const std::pair<const char*, std::string> values[] = {
        {"MouseType", "PS2"},
        {"DevLoader", "*vmouse"},
        {"NoSetupUI", "1"},
        {"InfPath", "KVTOUCH.INF"},
        {"InfSection", "KvPS2"},
        {"DriverDesc", TouchDeviceDescription(kPs2MouseIds[0])},
        {"MouseDriver", "KVTOUCH.VXD"},
    };
    bool ok = true;
    for (const auto& [value, text] : values) ok = SetStringValue(registry, key, value, text) && ok;
    if (ok && !replaces.empty()) ok = SetStringValue(registry, key, kReplacesValueName, replaces);
    CloseKey(registry, key);
    return ok;
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

    // Each write rewrites the whole file and may be cut short by a stop,
    // losing the sections after it: the file is first kept whole beside
    // itself (copied, then moved into place in one step), and a rerun that
    // finds that copy starts again from it.
    const std::string folder = product.WindowsPath + "\\inf\\";
    const std::string inf = folder + "KVTOUCH.INF";
    const std::string kept = folder + "KVTOUCH.BAK";
    const std::string copying = folder + "KVTOUCH.TMP";
    IniPort& files = ports.ini;
    if (!files.CopyIniFile(kept.c_str(), inf.c_str()) && files.CopyIniFile(inf.c_str(), copying.c_str()))
        files.MoveIniFile(copying.c_str(), kept.c_str());
    for (const auto& [key, text] : strings) {
        if (!WriteIniString(ports.ini, inf, "Strings", key, text)) {
            files.DeleteIniFile(kept.c_str());
            ReportFailure(ports, title);
            return false;
        }
    }
    files.DeleteIniFile(kept.c_str());

    RegistryPort& registry = ports.registry;
    const auto reportDeleteFailure = [&](const std::string& path) {
        ports.desktop.MessageBoxA(0, "RegDeleteKey fail! (" + path + ")", title, kMbOk);
    };
    const std::string staging = MouseEntryPath(kStagingEntry);

    // A complete staging copy names the entry it replaces: an earlier run
    // got that far and may already have deleted or half rebuilt that entry,
    // so its number can no longer be found by scanning.
    std::string entry = StagedEntry(registry);
    const bool resumed = !entry.empty();
    const MouseClassScan scan = ScanMouseClass(registry);
    if (!resumed) {
        // With no PS/2 entry the driver's entry takes the first free number;
        // an empty name would put its values into the class key itself.
        entry = scan.ps2.empty() ? scan.firstUnused : scan.ps2.front();
        if (entry.empty() || !WriteDriverEntry(registry, kStagingEntry, entry)) {
            // No entry and no device has changed yet: the standard driver stays.
            DeleteKey(ports.registryTree, kHkeyLocalMachine, staging);
            ReportFailure(ports, title);
            return false;
        }
    }

    // The BIOS-enumerated devices still name the original PS/2 entry: they
    // go before it does, so that no device is ever bound to a missing or
    // half-built entry. Detected again, the device finds the complete copy.
    DeleteBiosMouseKeys(ports.registryTree);
    DeleteMouseEntries(ports.registryTree, EntriesToDelete(registry, scan, resumed ? entry : ""),
                       reportDeleteFailure);

    if (!WriteDriverEntry(registry, entry, "")) {
        ReportFailure(ports, title);  // the staging copy stays and still loads the driver
        return false;
    }
    DeleteKey(ports.registryTree, kHkeyLocalMachine, staging);
    return true;
}

}  // namespace kv
