// The control panel on a display scaled to 150 % (144 DPI): its windows
// come out 1.5 times their 96-DPI size in pixels, with every control inside
// its window. (Wine reports every process as per-monitor aware whatever it
// declares, so what the programs declare is checked in their manifests.)
// These suites run only in the 144-DPI world (ctest -R e2e144; see
// cmake/E2eTests.cmake).
#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include "panel_e2e_support.h"

namespace panel_e2e {
namespace {

constexpr int kDpi = 144;

class PanelAt144Dpi : public PanelE2e {
protected:
    void SetUp() override {
        if (e2e::WorldDpi() != kDpi) GTEST_SKIP() << "runs in the 144-DPI world only";
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        ASSERT_EQ(dpi, kDpi) << "the world's display did not take its LogPixels";
        PanelE2e::SetUp();
    }
};

bool Inside(const RECT& box, const RECT& area) {
    return box.left >= area.left && box.top >= area.top && box.right <= area.right &&
           box.bottom <= area.bottom;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

// The client area of a window on the screen.
RECT ClientOnScreen(HWND window) {
    RECT area{};
    GetClientRect(window, &area);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

// A control its form draws (no window of its own) and what holds it: a
// frame or picture box, or the form itself (nullptr).
struct Drawn {
    const char* control;
    const char* holder;
};

// Every visible control lies within the client area of what holds it (the
// form, or the frame or picture box it sits in): the form's child windows,
// and the controls it draws itself, asked for by name.
void ExpectControlsInside(HWND form, const std::vector<Drawn>& drawn) {
    std::vector<HWND> children;
    EnumChildWindows(
        form,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    ASSERT_FALSE(children.empty());
    for (HWND child : children) {
        if (!IsWindowVisible(child)) continue;
        RECT box;
        GetWindowRect(child, &box);
        const RECT area = ClientOnScreen(GetParent(child));
        EXPECT_TRUE(Inside(box, area)) << "\"" << e2e::WindowText(child) << "\" " << Describe(box)
                                       << " leaves " << Describe(area);
    }
    for (const Drawn& d : drawn) {
        const e2e::ControlState control = e2e::QueryControl(form, d.control);
        ASSERT_TRUE(control.found) << d.control;
        if (!control.visible) continue;
        RECT area = ClientOnScreen(form);
        if (d.holder != nullptr) {
            const e2e::ControlState holder = e2e::QueryControl(form, d.holder);
            ASSERT_TRUE(holder.found) << d.holder;
            area = holder.window != nullptr ? ClientOnScreen(holder.window) : holder.screen;
        }
        EXPECT_TRUE(Inside(control.screen, area))
            << d.control << " " << Describe(control.screen) << " leaves "
            << (d.holder ? d.holder : "the form") << " " << Describe(area);
    }
}

struct ScaledForm {
    const char* form;
    const char* opener;  // button of the main window that opens it; none for frmMain
    int width96, height96;  // client area in pixels at 96 DPI
    std::vector<Drawn> drawn;
};

TEST_F(PanelAt144Dpi, WindowsAreOneAndAHalfTimesTheirSizeWithEveryControlInside) {
    const std::vector<Drawn> header = {
        {"lblOemTitle", "picLogo"}, {"lblSystem", "picLogo"}, {"imgIcon", "picIcon"}};
    auto withHeader = [&](std::vector<Drawn> own) {
        own.insert(own.end(), header.begin(), header.end());
        return own;
    };
    const ScaledForm forms[] = {
        {"frmMain", nullptr, 443, 328,
         withHeader({{"shpSerialPort", nullptr}, {"lblSerialPort", nullptr},
                     {"shpVirtualButton", nullptr}, {"lblVirtualButton", nullptr},
                     {"shpFeedbackSound", nullptr}, {"lblFeedbackSound", nullptr},
                     {"shpMouseSpeed", nullptr}, {"lblMouseSpeed", nullptr},
                     {"shpCalibration", nullptr}, {"shpDetection", nullptr},
                     {"lblDetection", nullptr}})},
        {"frmMouseSpeed", "cmdMouseSpeed", 443, 368,
         withHeader({{"frameBypass", nullptr}, {"frameAdjust", nullptr},
                     {"frameHSpeed", nullptr}, {"lblHS", "frameHSpeed"},
                     {"lblHSSlow", "frameHSpeed"}, {"lblHSFast", "frameHSpeed"},
                     {"frameVSpeed", nullptr}, {"lblVS", "frameVSpeed"},
                     {"lblVSSlow", "frameVSpeed"}, {"lblVSFast", "frameVSpeed"},
                     {"frameAcceleration", nullptr}})},
    };
    ASSERT_NE(StartPanel(), nullptr);
    SaveShot(main, "panel-main-144dpi");
    for (const auto& expected : forms) {
        SCOPED_TRACE(expected.form);
        HWND form = expected.opener ? OpenDialog(expected.opener, expected.form) : main;
        ASSERT_NE(form, nullptr);
        RECT client;
        GetClientRect(form, &client);
        // Twips become whole pixels, so half a pixel either way is rounding.
        EXPECT_LE(std::abs(2 * client.right - 3 * expected.width96), 1) << client.right;
        EXPECT_LE(std::abs(2 * client.bottom - 3 * expected.height96), 1) << client.bottom;
        ExpectControlsInside(form, expected.drawn);
    }
}

}  // namespace
}  // namespace panel_e2e
