// The control panel on a display scaled to 150 % (144 DPI): its windows
// come out 1.5 times their 96-DPI size in pixels, with every control inside
// its window. (Wine reports every process as per-monitor aware whatever it
// declares, so what the programs declare is checked in their manifests.)
// These suites run only in the 144-DPI world (ctest -R e2e144; see
// cmake/E2eTests.cmake).
#include <windows.h>

#include <cmath>
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

// Every visible control lies within the client area of the window that
// holds it (the form, or the frame or picture box it sits in).
void ExpectControlsInside(HWND form) {
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
        HWND holder = GetParent(child);
        RECT box, area;
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, holder, reinterpret_cast<POINT*>(&box), 2);
        GetClientRect(holder, &area);
        EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= area.right &&
                    box.bottom <= area.bottom)
            << e2e::DesignName(child) << " (" << box.left << "," << box.top << ")-(" << box.right
            << "," << box.bottom << ") leaves " << e2e::DesignName(holder) << " 0,0-"
            << area.right << "," << area.bottom;
    }
}

struct ScaledForm {
    const char* form;
    const char* opener;  // button of the main window that opens it; none for frmMain
    int width96, height96;  // client area in pixels at 96 DPI
};

TEST_F(PanelAt144Dpi, WindowsAreOneAndAHalfTimesTheirSizeWithEveryControlInside) {
    const ScaledForm forms[] = {
        {"frmMain", nullptr, 443, 328},
        {"frmMouseSpeed", "cmdMouseSpeed", 443, 368},
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
        ExpectControlsInside(form);
    }
}

}  // namespace
}  // namespace panel_e2e
