// What the control panel's end-to-end tests share: starting KVPANEL in the
// installed world, reading and setting the stand-in driver's block,
// working its controls the way the user's input arrives, and (when
// KV_SHOTS_DIR names a folder) saving what a window looks like.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/device/kvtouch_protocol.h"
#include "harness/harness.h"
#include "sim/kvsim/kvsim_client.h"

namespace panel_e2e {

inline constexpr const char* kPanelCaption = " TouchScreen Control Panel #KV-PS2";
inline constexpr const char* kProductKey = "SOFTWARE\\Halvane\\TouchScreen\\KV-PS2";

class PanelE2e : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts KVPANEL and waits for its main window to be visible.
    HWND StartPanel();
    // Clicks `button` on the main window and waits for `formName` to show.
    HWND OpenDialog(const char* button, const char* formName);

    TouchParams DriverParams();
    // Changes the driver's settings with its own Set requests.
    void SetDriver(const std::function<void(TouchParams&)>& change);
    std::vector<KvSimLogEntry> DriverLog(std::uint32_t kind);

    // Text of a control of `form`, found by design name.
    static std::string Text(HWND form, const char* control);
    // The control's own window (not for labels, images, shapes and frames:
    // their form draws them).
    static HWND Control(HWND form, const char* control);
    // A control of any kind as its form describes it.
    static e2e::ControlState Query(HWND form, const char* control);

    e2e::Process panel;
    HWND main = nullptr;
    kvsim::Client sim;
    std::uint32_t logStart = 0;
};

// A scroll bar step as the bar reports it to its container.
void Scroll(HWND bar, int code);
// A pick in a drop-down list as the list reports it.
void Pick(HWND combo, int index);
// Press and release of the left button over a control: sent to its window,
// or, for a control without one, the user's click at its centre.
void PressAndRelease(HWND control);
void PressAndRelease(HWND form, const char* control);
bool Checked(HWND button);

// Saves `window` as <KV_SHOTS_DIR>\<name>.bmp when KV_SHOTS_DIR is set.
void SaveShot(HWND window, const std::string& name);
// A bottom-up 24-bit .bmp of `rows` (each row padded to 4 bytes).
void WriteBitmapFile(const std::string& path, int width, int height, const std::vector<BYTE>& rows);

}  // namespace panel_e2e
