// KVSTART on fakes: the stand-in driver's core behind the device port, an
// in-memory registry with a complete product key, a desktop, a process
// table, the mouse settings, a clock that moves only while the program
// waits, and headless forms.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "common/winutil/program_titles.h"
#include "startup/startup_program.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_device.h"
#include "tests/fakes/fake_mouse_settings.h"
#include "tests/fakes/fake_process.h"
#include "tests/fakes/fake_registry.h"
#include "ui/headless.h"

namespace kv::startup::test {

inline constexpr const char* kProductKey = "SOFTWARE\\Halvane\\TouchScreen\\KV-PS2";
inline constexpr const char* kMouseKey = "Control Panel\\Mouse";

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::Headless().Reset();
        for (const char* name : {"VenderName", "VenderStyle", "InstallPath", "WindowsPath",
                                 "SystemPath", "HardwareID"})
            registry.SetString(kHkeyLocalMachine, kProductKey, name,
                               std::string(name) == "InstallPath" ? "C:\\Program Files\\TouchScreen"
                                                                  : "x");
    }
    void TearDown() override {
        if (program && program->MainForm().Loaded()) program->MainForm().Unload();
        program.reset();
    }

    bool Start(const std::string& arguments) {
        program = std::make_unique<StartupProgram>(
            StartupPorts{device, registry, desktop, process, mouse, clock});
        return program->Start(arguments);
    }
    ui::Form& Main() { return program->MainForm(); }
    ui::Control& Ctl(const std::string& name) { return Main().Ctl(name); }

    void StoreValues(std::int32_t speed, std::int32_t width, std::int32_t height) {
        registry.SetDword(kHkeyLocalMachine, kProductKey, "DoubleClickSpeed",
                          static_cast<std::uint32_t>(speed));
        registry.SetDword(kHkeyLocalMachine, kProductKey, "DoubleClickWidth",
                          static_cast<std::uint32_t>(width));
        registry.SetDword(kHkeyLocalMachine, kProductKey, "DoubleClickHeight",
                          static_cast<std::uint32_t>(height));
    }
    std::optional<std::int32_t> StoredDword(const char* name) {
        auto value = registry.GetValue(kHkeyLocalMachine, kProductKey, name);
        if (!value || value->type != kRegDword || value->data.size() != 4) return std::nullopt;
        std::int32_t v = 0;
        std::memcpy(&v, value->data.data(), 4);
        return v;
    }
    // A REG_SZ of the user's mouse key with its bytes as stored.
    std::optional<std::string> MouseText(const char* name) {
        auto value = registry.GetValue(kHkeyCurrentUser, kMouseKey, name);
        if (!value || value->type != kRegSz) return std::nullopt;
        return std::string(value->data.begin(), value->data.end());
    }
    std::string BoxTexts() const {
        std::string texts;
        for (const auto& box : desktop.messageBoxes) texts += box.text + "|";
        return texts;
    }

    FakeDevice device;
    FakeRegistry registry;
    FakeDesktop desktop;
    FakeProcess process;
    FakeMouseSettings mouse;
    FakeClock clock;
    std::unique_ptr<StartupProgram> program;
};

}  // namespace kv::startup::test
