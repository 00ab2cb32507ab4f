// A control panel on fakes: the stand-in driver's core behind the device
// port, an in-memory registry holding a complete product key, a desktop and
// a process table, and headless forms.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/device/kvtouch_protocol.h"
#include "panel/panel_program.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_device.h"
#include "tests/fakes/fake_process.h"
#include "tests/fakes/fake_registry.h"
#include "ui/headless.h"

namespace kv::panel::test {

inline constexpr const char* kProductKey = "SOFTWARE\\Halvane\\TouchScreen\\KV-PS2";
inline constexpr const char* kInstallPath = "C:\\Program Files\\TouchScreen";

inline std::vector<std::uint8_t> BytesOf(const TouchParams& p) {
    std::vector<std::uint8_t> bytes(sizeof p);
    std::memcpy(bytes.data(), &p, sizeof p);
    return bytes;
}

// Offsets where two blocks differ.
inline std::vector<std::size_t> ChangedOffsets(const std::vector<std::uint8_t>& before,
                                               const std::vector<std::uint8_t>& after) {
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < before.size() && i < after.size(); ++i)
        if (before[i] != after[i]) changed.push_back(i);
    return changed;
}

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::Headless().Reset();
        for (const char* name : {"VenderName", "VenderStyle", "InstallPath", "WindowsPath",
                                 "SystemPath", "HardwareID"})
            registry.SetString(kHkeyLocalMachine, kProductKey, name, ProductValue(name));
    }

    void TearDown() override {
        if (program && program->MainForm().Loaded()) program->MainForm().Unload();
        program.reset();
    }

    static std::string ProductValue(const std::string& name) {
        if (name == "VenderName") return "Halvane";
        if (name == "VenderStyle") return "2";
        if (name == "InstallPath") return kInstallPath;
        if (name == "WindowsPath") return "C:\\WINDOWS";
        if (name == "SystemPath") return "C:\\WINDOWS\\SYSTEM";
        return "*PNP0F13";
    }

    // Builds the program on the fakes and starts it.
    bool Start() {
        program = std::make_unique<PanelProgram>(PanelPorts{device, registry, desktop, process});
        return program->Start();
    }

    void StartShown() {
        ASSERT_TRUE(Start()) << "start-up ended the program; boxes: "
                             << desktop.messageBoxes.size();
        ASSERT_TRUE(Main().Visible());
    }

    ui::Form& Main() { return program->MainForm(); }
    ui::Control& MainCtl(const std::string& name, int index = -1) {
        return Main().Ctl(name, index);
    }
    TouchParams& Driver() { return device.Params(); }
    TouchParams& Copy() { return program->Context().Block(); }

    // Opens a dialog with its button on the main window.
    ui::Form& Open(const std::string& button, ui::Form& dialog) {
        MainCtl(button).UserClick();
        EXPECT_TRUE(dialog.Loaded() && dialog.Visible()) << dialog.Name() << " did not open";
        EXPECT_FALSE(Main().Visible()) << "the main window stays up behind " << dialog.Name();
        return dialog;
    }
    ui::Form& OpenMouseSpeed() { return Open("cmdMouseSpeed", program->MouseSpeed()); }
    ui::Form& OpenFeedbackSound() { return Open("cmdFeedbackSound", program->FeedbackSound()); }
    ui::Form& OpenVirtualButton() { return Open("cmdVirtualButton", program->VirtualButton()); }

    // The device requests with this code since the last ClearRequests.
    std::size_t Sent(std::uint32_t code) const { return device.RequestsWithCode(code).size(); }
    // Every request of the program since the last ClearRequests.
    std::size_t AllSent() const { return device.Requests().size(); }
    // The requests that carried the parameter block.
    std::vector<FakeDevice::Request> BlockRequests() const {
        std::vector<FakeDevice::Request> blocks;
        for (const auto& r : device.Requests())
            if (r.inSize == sizeof(TouchParams)) blocks.push_back(r);
        return blocks;
    }

    std::optional<std::int32_t> StoredCalibrationMode() {
        auto value = registry.GetValue(kHkeyLocalMachine, kProductKey, "CalibrationMode");
        if (!value || value->type != kRegDword || value->data.size() != 4) return std::nullopt;
        std::int32_t mode = 0;
        std::memcpy(&mode, value->data.data(), 4);
        return mode;
    }

    FakeDevice device;
    FakeRegistry registry;
    FakeDesktop desktop;
    FakeProcess process;
    std::unique_ptr<PanelProgram> program;
};

}  // namespace kv::panel::test
