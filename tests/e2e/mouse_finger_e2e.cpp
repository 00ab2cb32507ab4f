// The mouse as a finger (kvfinger with the pointer bridge) on a panel that
// is wired upside down and whose driver calibration is off: a person's
// clicks on the calibration marks calibrate it, after which a click lands
// where it was made and a drag on the draw test draws along its path.
// Input is real (SendInput at the marks' centres, as a person clicks), and
// what the person sees is read back: the marker of the mapped point and
// the pixels of the page. Needs a display with pixels: runs under Xvfb
// (e2e.x11.MouseAsFinger) and skips on Wine's null display.
#include <cmath>
#include <cstdlib>

#include "harness/input.h"
#include "panel_e2e_support.h"
#include "sim/driver/core/panel_geometry.h"

namespace panel_e2e {
namespace {

constexpr const char* kTargets[] = {"",    "TOP-LEFT", "TOP-RIGHT", "DOWN-RIGHT", "DOWN-LEFT",
                                    "TOP", "RIGHT",    "DOWN",      "LEFT"};
// Both axes mirrored, with a driver calibration that is off by an offset
// and a scale on both axes: what the demo starts with too. (With exchanged
// axes the edge mode compares the marks' middle samples with the middle of
// the raw range, so a click a pixel or two off the centre may decide.)
constexpr int kWiring = KV_CAL_MIRROR_X | KV_CAL_MIRROR_Y;
constexpr CalData kOffCalibration{90, 540, 1000, 60, 500, 950};
constexpr CalData kStraight{32, 511, 991, 32, 511, 991};
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr int kRingRadius = 12;  // kvfinger's marker

POINT MarkCentre(int target, int w, int h) {
    auto halfEven = [](double v) { return static_cast<int>(std::nearbyint(v)); };
    const int cx = halfEven(w / 2.0 - 1), cy = halfEven(h / 2.0 - 1);
    const POINT centres[] = {{0, 0},       {15, 15},     {w - 18, 15}, {w - 18, h - 18},
                             {15, h - 18}, {cx, 15},     {w - 18, cy}, {cx, h - 18},
                             {15, cy}};
    return centres[target];
}

// A person's click: the pointer there, a press held a moment, the release.
void ClickAt(POINT p) {
    e2e::SendMouse(p.x, p.y, 0);
    e2e::SendMouse(p.x, p.y, MOUSEEVENTF_LEFTDOWN);
    Sleep(120);
    e2e::SendMouse(p.x, p.y, MOUSEEVENTF_LEFTUP);
}

// What the screen shows in a rectangle, read at once (a pixel at a time
// is slow on X11).
class ScreenShot {
public:
    explicit ScreenShot(RECT r) : r_(r), w_(r.right - r.left), px_(static_cast<size_t>(w_) * (r.bottom - r.top)) {
        const int h = r.bottom - r.top;
        HDC screen = GetDC(nullptr);
        HDC mem = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, w_, h);
        HGDIOBJ old = SelectObject(mem, bitmap);
        BitBlt(mem, 0, 0, w_, h, screen, r.left, r.top, SRCCOPY);
        SelectObject(mem, old);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w_;
        info.bmiHeader.biHeight = -h;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        GetDIBits(mem, bitmap, 0, static_cast<UINT>(h), px_.data(), &info, DIB_RGB_COLORS);
        DeleteObject(bitmap);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
    }
    // At a screen point inside the rectangle.
    COLORREF At(int x, int y) const {
        const DWORD v = px_[static_cast<size_t>(y - r_.top) * w_ + (x - r_.left)];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

private:
    RECT r_;
    int w_;
    std::vector<DWORD> px_;
};

// The columns between x0 and x1 with a red pixel within `band` rows of y.
std::vector<int> RedColumns(int x0, int x1, int y, int band) {
    const ScreenShot shot(RECT{x0, y - band, x1 + 1, y + band + 1});
    std::vector<int> xs;
    for (int x = x0; x <= x1; ++x)
        for (int dy = -band; dy <= band; ++dy)
            if (shot.At(x, y + dy) == kRed) {
                xs.push_back(x);
                break;
            }
    return xs;
}

class MouseAsFinger : public PanelE2e {
protected:
    void SetUp() override {
        if (e2e::ReadRegString(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", "Graphics") ==
            std::optional<std::string>("null"))
            GTEST_SKIP() << "no pixels to see on the null display (runs as e2e.x11.MouseAsFinger)";
        PanelE2e::SetUp();
        e2e::KillAllNamed("kvbridge.exe");
        e2e::KillAllNamed("kvfinger.exe");
        screenW = GetSystemMetrics(SM_CXSCREEN);
        screenH = GetSystemMetrics(SM_CYSCREEN);
        ASSERT_TRUE(sim.SetScreen(screenW, screenH, true));
        ASSERT_TRUE(sim.SetWiring(kWiring));
        ASSERT_TRUE(sim.SetCalibration(kOffCalibration, 0));
        bridge = e2e::Process::Start(e2e::InstalledProgram("kvbridge.exe"));
        finger = e2e::Process::Start(BesideThisProgram("kvfinger.exe"));
        ASSERT_TRUE(e2e::WaitUntil([&] { return (marker = FindWindowA("KvFingerMarker", nullptr)); }))
            << "kvfinger did not start";
    }

    void TearDown() override {
        finger.Kill();
        bridge.Kill();
        sim.PenUp();
        PanelE2e::TearDown();
        e2e::KillAllNamed("KVPANEL.exe");
        sim.SetWiring(0);
        sim.SetCalibration(kStraight, 0);
        sim.SetScreen(1024, 768, true);
        e2e::WriteRegDword(HKEY_LOCAL_MACHINE, kProductKey, "CalibrationMode", 0);
    }

    static std::string BesideThisProgram(const char* name) {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string dir(path);
        return dir.substr(0, dir.find_last_of('\\') + 1) + name;
    }

    // Where the driver put the latest touch, once a new one has been
    // reported after `touchesBefore`.
    bool WaitForTouch(std::uint32_t touchesBefore, POINT& mapped) {
        KvSimPointer p{};
        if (!e2e::WaitUntil([&] { return sim.ReadPointer(p) && p.Touches != touchesBefore; }))
            return false;
        mapped = POINT{p.MappedX, p.MappedY};
        return true;
    }

    // kvfinger watches the mouse only while a window that waits for
    // touches is shown.
    bool WaitUntilWatching() {
        return e2e::WaitUntil([&] { return e2e::WindowText(marker) == "hooked"; });
    }

    std::uint32_t Touches() {
        KvSimPointer p{};
        sim.ReadPointer(p);
        return p.Touches;
    }

    // The marker shows, centred on `at`.
    bool MarkerAt(POINT at) {
        return e2e::WaitUntil([&] {
            RECT r;
            GetWindowRect(marker, &r);
            return IsWindowVisible(marker) && r.left + kRingRadius == at.x &&
                   r.top + kRingRadius == at.y;
        });
    }

    // A whole calibration made with clicks, from the main window's button
    // to Yes. Before it, the first click lands visibly off; on the grey
    // test window after it, a click lands where it is made.
    void CalibrateByClicks(int mode) {
        SCOPED_TRACE(::testing::Message() << "mode " << mode);
        e2e::WriteRegDword(HKEY_LOCAL_MACHINE, kProductKey, "CalibrationMode",
                           static_cast<DWORD>(mode));
        if (main == nullptr) {
            ASSERT_NE(StartPanel(), nullptr);
        }
        PostMessageA(Control(main, "cmdCalibration"), BM_CLICK, 0, 0);
        HWND form = e2e::WaitForForm("frmCalibration", panel.Id());
        ASSERT_NE(form, nullptr) << "no calibration window";
        e2e::WaitUntil([&] { return e2e::QueryControl(form, "lblHelp").found; });
        HWND surface = Control(form, "picCalibration");
        ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(surface) != FALSE; }));
        ASSERT_TRUE(WaitUntilWatching()) << "kvfinger does not watch the calibration screen";

        const int first = mode == 0 ? 1 : 5;
        for (int t = first; t < first + 4; ++t) {
            const std::string line = std::string("show on the ") + kTargets[t] + " of the screen";
            ASSERT_TRUE(e2e::WaitUntil([&] { return Text(form, "lblMesg2") == line; }))
                << "no prompt for " << kTargets[t];
            RECT client;
            GetClientRect(surface, &client);
            POINT at = MarkCentre(t, client.right, client.bottom);
            ClientToScreen(surface, &at);
            const std::uint32_t before = Touches();
            ClickAt(at);
            POINT mapped{};
            ASSERT_TRUE(WaitForTouch(before, mapped)) << "the click at " << kTargets[t]
                                                      << " was no touch";
            if (t == first) {
                EXPECT_GT(std::abs(mapped.x - at.x) + std::abs(mapped.y - at.y), 40)
                    << "the uncalibrated panel should put the touch visibly off";
                EXPECT_TRUE(MarkerAt(mapped)) << "no marker at the driver's point";
                EXPECT_EQ(e2e::FocusOf(form), surface) << "the marker took the keyboard";
            }
        }
        auto box = e2e::WaitForMessageBox(panel.Id());
        ASSERT_TRUE(box.has_value()) << "no question after the fourth mark";
        EXPECT_EQ(box->text.rfind("CALIBRATION IS COMPLETE.", 0), 0u) << box->text;

        // The check the question asks for: a click on the grey window,
        // away from the box, lands where it is made, and the marker says so.
        for (const POINT at : {POINT{screenW / 5, screenH / 5}, POINT{screenW - 90, screenH - 70}}) {
            const std::uint32_t before = Touches();
            ClickAt(at);
            POINT mapped{};
            ASSERT_TRUE(WaitForTouch(before, mapped));
            EXPECT_LE(std::max(std::abs(mapped.x - at.x), std::abs(mapped.y - at.y)), 3)
                << "a click at " << at.x << "," << at.y << " lands at " << mapped.x << ","
                << mapped.y;
            EXPECT_TRUE(MarkerAt(mapped));
        }
        e2e::PressBoxButton(box->window, IDYES);
        ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
        EXPECT_EQ(DriverParams().CalFlags, kWiring);
    }

    // The draw test, opened the person's way: Shift, Alt and Ctrl held and
    // the right button on "E&xit" (the right button stays a mouse button).
    HWND OpenDrawTest() {
        SetForegroundWindow(main);
        EXPECT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == main; }));
        RECT exit;
        GetWindowRect(Control(main, "cmdExit"), &exit);
        const int x = (exit.left + exit.right) / 2, y = (exit.top + exit.bottom) / 2;
        e2e::SendMouse(x, y, 0);
        EXPECT_TRUE(e2e::WaitUntil([&] {
            POINT p;
            return GetCursorPos(&p) && p.x == x && p.y == y;
        }));
        // One batch, so that nothing the display reports comes between the
        // keys and the button.
        auto key = [](WORD vk, bool up) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wVk = vk;
            in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            return in;
        };
        auto button = [&](DWORD flags) { return e2e::AbsoluteMouse(x, y, flags); };
        std::vector<INPUT> inputs = {key(VK_SHIFT, false),  key(VK_MENU, false),
                                     key(VK_CONTROL, false), button(MOUSEEVENTF_RIGHTDOWN),
                                     button(MOUSEEVENTF_RIGHTUP), key(VK_CONTROL, true),
                                     key(VK_MENU, true),      key(VK_SHIFT, true)};
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        HWND test = e2e::WaitForForm("frmTest", panel.Id());
        EXPECT_NE(test, nullptr) << "the gesture did not open the draw test";
        if (test != nullptr) {
            EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(test) != 0; }));
        }
        return test;
    }

    // A person's drag along a row, in steps a mouse reports.
    void DragAlongRow(int x0, int x1, int y) {
        e2e::SendMouse(x0, y, 0);
        e2e::SendMouse(x0, y, MOUSEEVENTF_LEFTDOWN);
        for (int x = x0; x <= x1; x += 10) {
            Sleep(15);
            e2e::SendMouse(x, y, 0);
        }
        e2e::SendMouse(x1, y, 0);
        Sleep(60);
        e2e::SendMouse(x1, y, MOUSEEVENTF_LEFTUP);
    }

    // A red, 4-pixel pen, chosen with ordinary clicks on the bottom bar.
    void RedPen(HWND test) {
        PressAndRelease(test, "lblColor(1)");
        PressAndRelease(test, "lblWidth(3)");
    }

    bool WaitForPage(HWND test, RECT& page) {
        HWND pageWindow = Control(test, "picHome");
        if (pageWindow == nullptr) return false;
        GetWindowRect(pageWindow, &page);
        // Read off the screen, which shows the page only once it is painted,
        // and kvfinger learns where the page is a moment after it is in front.
        if (!WaitUntilWatching()) return false;
        Sleep(400);
        return e2e::WaitUntil([&] {
            const ScreenShot shot(RECT{page.left + 200, page.top + 100, page.left + 201, page.top + 101});
            return shot.At(page.left + 200, page.top + 100) == RGB(255, 255, 255);
        });
    }

    int screenW = 0, screenH = 0;
    e2e::Process bridge, finger;
    HWND marker = nullptr;
};

TEST_F(MouseAsFinger, ClicksOnTheCornerMarksCalibrateAndADragDrawsWhereItIsMade) {
    CalibrateByClicks(0);
    HWND test = OpenDrawTest();
    ASSERT_NE(test, nullptr);
    RedPen(test);
    RECT page;
    ASSERT_TRUE(WaitForPage(test, page)) << "the page is not blank";

    const int y = (page.top + page.bottom) / 2, x0 = page.left + 150, x1 = x0 + 400;
    DragAlongRow(x0, x1, y);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(marker); })) << "the marker stays";
    const std::vector<int> red = RedColumns(x0 - 20, x1 + 20, y, 3);
    ASSERT_FALSE(red.empty()) << "nothing drawn";
    EXPECT_LE(std::abs(red.front() - x0), 4) << "the stroke starts at " << red.front();
    EXPECT_LE(std::abs(red.back() - x1), 4) << "the stroke ends at " << red.back();
    EXPECT_GE(static_cast<int>(red.size()), red.back() - red.front() - 2) << "the stroke has gaps";
    SaveShot(test, "draw-test-mouse");
    e2e::Click(Control(test, "cmdExit"));
}

TEST_F(MouseAsFinger, ClicksOnTheEdgeMarksCalibrate) { CalibrateByClicks(1); }

// On the panel as it comes (straight wiring here, so that a row stays a
// row, but the driver's calibration off), a drag draws where the driver
// maps the mouse's path, as long as that path: were the finger to follow
// the pointer that the bridge moves, the stroke would run away from it.
TEST_F(MouseAsFinger, ADragOnTheUncalibratedPanelDrawsTheMappedPathOfTheDrag) {
    ASSERT_TRUE(sim.SetWiring(0));
    ASSERT_NE(StartPanel(), nullptr);
    HWND test = OpenDrawTest();
    ASSERT_NE(test, nullptr);
    RedPen(test);
    RECT page;
    ASSERT_TRUE(WaitForPage(test, page));

    const int y = (page.top + page.bottom) / 2, x0 = page.left + 200, x1 = x0 + 300;
    const KvPanel glass{0, 0, static_cast<std::int16_t>(screenW), static_cast<std::int16_t>(screenH)};
    auto mapped = [&](int x) {
        std::int16_t rx = 0, ry = 0, mx = 0, my = 0;
        kvp_screen_to_raw(&glass, x, y, &rx, &ry);
        kvp_calibrated_point(&kOffCalibration, 0, screenW, screenH, 0, rx, ry, &mx, &my);
        return POINT{mx, my};
    };
    const POINT m0 = mapped(x0), m1 = mapped(x1);
    ASSERT_EQ(m0.y, m1.y);
    ASSERT_GT(std::abs(m0.x - x0), 20) << "the calibration should be visibly off";

    DragAlongRow(x0, x1, y);
    KvSimState s{};
    ASSERT_TRUE(sim.ReadState(s));
    EXPECT_LE(std::abs(s.TouchScreenX - x1) + std::abs(s.TouchScreenY - y), 1)
        << "the finger ended at " << s.TouchScreenX << "," << s.TouchScreenY;
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(marker); }));
    const std::vector<int> red = RedColumns(m0.x - 30, m1.x + 30, m0.y, 3);
    ASSERT_FALSE(red.empty()) << "nothing drawn";
    EXPECT_LE(std::abs(red.front() - m0.x), 4) << "the stroke starts at " << red.front();
    EXPECT_LE(std::abs(red.back() - m1.x), 4) << "the stroke ends at " << red.back();
    e2e::Click(Control(test, "cmdExit"));
}

}  // namespace
}  // namespace panel_e2e
