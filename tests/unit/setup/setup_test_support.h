// A world for the installer's and uninstaller's unit tests: the fake
// platform, the product key as the package's setup leaves it, and a
// registry that remembers the order of its writes.
#pragma once

#include <string>
#include <vector>

#include "common/branding/product_info.h"
#include "setup/setupcommon/setup_ports.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_ini.h"
#include "tests/fakes/fake_process.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/fake_setup_ports.h"
#include "ui/headless.h"

namespace kv::testing {

inline constexpr const char* kInstall = "C:\\Program Files\\TouchScreen";
inline constexpr const char* kProduct = "SOFTWARE\\Halvane\\TouchScreen\\KV-PS2";
inline constexpr const char* kClass = "System\\CurrentControlSet\\Services\\Class\\Mouse";
inline constexpr const char* kInf = "C:\\windows\\inf\\KVTOUCH.INF";

// Records the name and type of every value written, in order.
class RecordingRegistry : public FakeRegistry {
public:
    long RegSetValueExA(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                        std::uint32_t size) override {
        writes.push_back(std::string(name) + ":" + std::to_string(type));
        return FakeRegistry::RegSetValueExA(key, name, type, data, size);
    }
    std::vector<std::string> writes;
};

struct SetupWorld {
    SetupWorld() {
        ui::Headless().Reset();
        registry.SetString(kHkeyLocalMachine, kProduct, "VenderName", "Halvane");
        registry.SetString(kHkeyLocalMachine, kProduct, "VenderStyle", "13200401");
        registry.SetString(kHkeyLocalMachine, kProduct, "InstallPath", kInstall);
        registry.SetString(kHkeyLocalMachine, kProduct, "WindowsPath", "C:\\windows");
        registry.SetString(kHkeyLocalMachine, kProduct, "SystemPath", "C:\\windows\\system32");
        registry.SetString(kHkeyLocalMachine, kProduct, "HardwareID", "*KVT0001");
        product.LoadProductInformation(registry);
        registry.writes.clear();
    }

    void AddSetupIni(const std::string& settings) {
        const std::string path = std::string(kInstall) + "\\setup.ini";
        process.AddFile(path);
        ini.SetFile(path, "[Settings]\r\n" + settings);
    }

    void AddEntry(const std::string& name, const char* mouseType) {
        const std::string path = std::string(kClass) + "\\" + name;
        registry.CreateKey(kHkeyLocalMachine, path);
        if (mouseType) registry.SetString(kHkeyLocalMachine, path, "MouseType", mouseType);
    }

    std::string Entry(const std::string& name, const std::string& value) const {
        const auto v = registry.GetValue(kHkeyLocalMachine, std::string(kClass) + "\\" + name, value);
        if (!v) return "<none>";
        return std::string(v->data.begin(), v->data.end() - (v->data.empty() ? 0 : 1));
    }

    bool EntryExists(const std::string& name) const {
        return registry.KeyExists(kHkeyLocalMachine, std::string(kClass) + "\\" + name);
    }

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : desktop.messageBoxes) texts.push_back(box.text);
        return texts;
    }

    RecordingRegistry registry;
    FakeRegistryTree tree{registry};
    FakeIni ini;
    FakeProcess process;
    FakeDesktop desktop;
    FakeRestart restart;
    SetupPorts ports{registry, tree, ini, process, desktop, restart};
    ProductInfo product;
};

}  // namespace kv::testing
