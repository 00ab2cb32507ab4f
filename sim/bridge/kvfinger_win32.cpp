// kvfinger: the mouse as a finger on the simulated panel, for a person
// trying the system at a desk (mouse_finger.h has the rules). A low-level
// mouse hook turns left presses over the calibration screen and the draw
// test's page into touches of the stand-in driver, at the screen point
// under the mouse; the pointer bridge then replays them where the driver
// maps them. A small ring marks the driver's mapped point: under Wine on X11
// the visible pointer stays put over a full-screen window, so without it a
// person could not see where a touch landed.
//
// No arguments; one runs per session (a second start ends at once). It
// runs until it is ended, and waits for the driver when it is not there.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "sim/bridge/mouse_finger.h"
#include "sim/kvsim/kvsim_client.h"
#include "win32/control_query.h"

namespace {

constexpr DWORD kBusyPollMs = 5;   // a touch held or its marker shown
constexpr DWORD kIdlePollMs = 10;
constexpr DWORD kNoDriverRetryMs = 500;
constexpr DWORD kPageRefreshMs = 250;
constexpr DWORD kFormLookMs = 100;
constexpr DWORD kRaiseAfterLiftMs = 40;
constexpr int kRingOuter = 12;  // radius in pixels
constexpr int kRingInner = 8;   // the point itself stays visible through the hole
constexpr COLORREF kRingColour = RGB(255, 128, 0);
constexpr const char* kMarkerClass = "KvFingerMarker";

struct Finger {
    kvsim::Client sim;
    kv::bridge::MouseFinger finger;
    kv::bridge::MarkerTracker tracker;
    kv::bridge::MarkerView shown;
    HWND marker = nullptr;
    // The draw test's page, asked of its form: only there does a press draw.
    HWND testForm = nullptr;
    RECT page{};
    bool pageKnown = false;
};

Finger* g = nullptr;

std::string FormName(HWND window) {
    auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropA(window, "Name")));
    char name[64] = {};
    if (atom == 0 || GlobalGetAtomNameA(atom, name, sizeof name) == 0) return {};
    return name;
}

// Only what the hook may afford: no message to the program under the
// point, whose calibration loop does not answer while a touch is held.
bool TouchAreaAt(POINT p) {
    HWND under = WindowFromPoint(p);
    if (under == nullptr) return false;
    HWND form = GetAncestor(under, GA_ROOT);
    const std::string name = FormName(form);
    if (name == "frmCalibration") return true;
    return name == "frmTest" && g->pageKnown && form == g->testForm && PtInRect(&g->page, p);
}

// Where the desktop has the driver's mapped pixel: the bridge sends it as
// an absolute coordinate of the driver's screen, which the system scales
// onto the real one.
POINT OnDesktop(int x, int y, int driverW, int driverH) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const int dw = driverW >= 2 ? driverW : w, dh = driverH >= 2 ? driverH : h;
    return POINT{static_cast<LONG>(static_cast<long long>(kv::bridge::ToAbsolute(x, dw)) * w / 65536),
                 static_cast<LONG>(static_cast<long long>(kv::bridge::ToAbsolute(y, dh)) * h / 65536)};
}

void Press(const kv::bridge::PenAction& a) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const int x = std::clamp(a.x, 0, w - 1), y = std::clamp(a.y, 0, h - 1);
    // A driver that went away is noticed by the next poll.
    switch (a.kind) {
    case kv::bridge::PenAction::Kind::Down: g->sim.PenDown(KVSIM_SPACE_SCREEN, x, y); break;
    case kv::bridge::PenAction::Kind::Move: g->sim.PenMove(KVSIM_SPACE_SCREEN, x, y); break;
    case kv::bridge::PenAction::Kind::Up: g->sim.PenUp(); break;
    }
}

LRESULT CALLBACK MouseHook(int code, WPARAM message, LPARAM lparam) {
    if (code != HC_ACTION || g == nullptr) return CallNextHookEx(nullptr, code, message, lparam);
    const auto* m = reinterpret_cast<const MSLLHOOKSTRUCT*>(lparam);
    kv::bridge::MouseEvent e;
    switch (message) {
    case WM_MOUSEMOVE: e.kind = kv::bridge::MouseEvent::Kind::Move; break;
    case WM_LBUTTONDOWN: e.kind = kv::bridge::MouseEvent::Kind::LeftDown; break;
    case WM_LBUTTONUP: e.kind = kv::bridge::MouseEvent::Kind::LeftUp; break;
    default: e.kind = kv::bridge::MouseEvent::Kind::Other; break;
    }
    e.x = m->pt.x;
    e.y = m->pt.y;
    e.timeMs = GetTickCount64();
    e.fromBridge = m->dwExtraInfo == kv::bridge::kBridgeInputTag;
    e.injected = (m->flags & LLMHF_INJECTED) != 0;
    if (e.kind == kv::bridge::MouseEvent::Kind::LeftDown && !e.fromBridge)
        e.overTouchArea = g->sim.IsOpen() && TouchAreaAt(m->pt);
    const kv::bridge::FingerDecision d = g->finger.OnMouse(e);
    for (const auto& a : d.pen) Press(a);
    if (d.swallow) return 1;
    return CallNextHookEx(nullptr, code, message, lparam);
}

void ShowMarker(const kv::bridge::MarkerView& v, const KvSimPointer& p) {
    if (v == g->shown) return;
    g->shown = v;
    if (!v.visible) {
        ShowWindow(g->marker, SW_HIDE);
        return;
    }
    const POINT at = OnDesktop(v.x, v.y, p.ScreenWidth, p.ScreenHeight);
    // Topmost again each time: a full-screen form or a message box may
    // have come up since.
    SetWindowPos(g->marker, HWND_TOPMOST, at.x - kRingOuter, at.y - kRingOuter, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// Asks the draw test's form (when it is in front) where its page is.
void RefreshPage() {
    HWND front = GetForegroundWindow();
    if (front == nullptr || FormName(front) != "frmTest") {
        g->pageKnown = false;
        g->testForm = nullptr;
        return;
    }
    static const char kPage[] = "picHome";
    COPYDATASTRUCT request{kv::win32::kControlQuery, sizeof kPage - 1, const_cast<char*>(kPage)};
    DWORD_PTR result = 0;
    g->testForm = front;
    if (!SendMessageTimeoutA(front, WM_COPYDATA, reinterpret_cast<WPARAM>(g->marker),
                             reinterpret_cast<LPARAM>(&request), SMTO_ABORTIFHUNG, 300, &result) ||
        result == FALSE)
        g->pageKnown = false;
}

LRESULT CALLBACK MarkerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COPYDATA: {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
        if (data->dwData != kv::win32::kControlReply || data->cbData < sizeof(kv::win32::ControlReply))
            return FALSE;
        kv::win32::ControlReply reply;
        std::memcpy(&reply, data->lpData, sizeof reply);
        g->page = RECT{reply.left, reply.top, reply.right, reply.bottom};
        g->pageKnown = reinterpret_cast<HWND>(wparam) == g->testForm &&
                       (reply.flags & kv::win32::kControlVisible) != 0;
        return TRUE;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        HBRUSH brush = CreateSolidBrush(kRingColour);
        FillRect(dc, &ps.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_DISPLAYCHANGE:
        // The glass lies on the whole display, whatever its size now.
        if (g->sim.IsOpen())
            g->sim.SetScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), false);
        return 0;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

// A ring: clicks never land on it (it is transparent to them anyway), and
// the point it marks shows through its hole.
HWND MakeMarker(HINSTANCE instance) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = MarkerProc;
    wc.hInstance = instance;
    wc.lpszClassName = kMarkerClass;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    RegisterClassA(&wc);
    const int size = 2 * kRingOuter + 1;
    HWND w = CreateWindowExA(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST | WS_EX_NOACTIVATE |
                                 WS_EX_TOOLWINDOW,
                             kMarkerClass, "", WS_POPUP, 0, 0, size, size, nullptr, nullptr,
                             instance, nullptr);
    if (w == nullptr) return nullptr;
    SetLayeredWindowAttributes(w, 0, 255, LWA_ALPHA);
    HRGN ring = CreateEllipticRgn(0, 0, size + 1, size + 1);
    const int gap = kRingOuter - kRingInner;
    HRGN hole = CreateEllipticRgn(gap, gap, size - gap + 1, size - gap + 1);
    CombineRgn(ring, ring, hole, RGN_DIFF);
    DeleteObject(hole);
    SetWindowRgn(w, ring, FALSE);  // the window owns the region now
    return w;
}

// A window that waits for touches is on the screen.
bool TouchFormShown() {
    bool shown = false;
    EnumWindows(
        [](HWND w, LPARAM found) -> BOOL {
            if (!IsWindowVisible(w)) return TRUE;
            const std::string name = FormName(w);
            if (name != "frmCalibration" && name != "frmTest") return TRUE;
            *reinterpret_cast<bool*>(found) = true;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&shown));
    return shown;
}

// Under Wine on X11 a click of the mouse on a full-screen window lifts it
// above a message box that has no owner, even a topmost one, although the
// hook keeps the click itself from the window: the calibration's closing
// question would vanish behind the grey test screen at the person's first
// touch there, and so would the marker. After each touch such a box of the
// calibration's program, then the marker, come back on top.
void RaiseOverCalibration() {
    struct Search {
        DWORD pid = 0;
        HWND box = nullptr;
    } search;
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (IsWindowVisible(w) && FormName(w) == "frmCalibration")
                GetWindowThreadProcessId(w, &s->pid);
            return s->pid == 0;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.pid == 0) return;
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            char cls[16] = {};
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == s->pid && IsWindowVisible(w) && GetClassNameA(w, cls, sizeof cls) &&
                std::strcmp(cls, "#32770") == 0)
                s->box = w;
            return s->box == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.box != nullptr)
        SetWindowPos(search.box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (g->shown.visible)
        SetWindowPos(g->marker, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void OpenDriver() {
    if (!g->sim.Open()) return;
    g->sim.SetScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), false);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HANDLE single = CreateMutexA(nullptr, TRUE, "KvMouseFinger");
    if (single == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    Finger finger;
    g = &finger;
    finger.marker = MakeMarker(instance);
    if (finger.marker == nullptr) return 1;
    // The hook is in only while a window that waits for touches is shown:
    // under Wine every mouse event waits for a low-level hook's answer, and
    // the X pointer then lags behind a program's moves, so the rest of the
    // desktop is better off without it. The marker's window
    // text tells a test whether it is in.
    HHOOK hook = nullptr;

    ULONGLONG nextPage = 0, nextOpen = 0, nextLook = 0;
    bool penWasDown = false;
    ULONGLONG nextRaise = 0;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= nextLook) {
            const bool wanted = TouchFormShown();
            if (wanted && hook == nullptr) {
                hook = SetWindowsHookExA(WH_MOUSE_LL, MouseHook, instance, 0);
                SetWindowTextA(finger.marker, hook != nullptr ? "hooked" : "");
            } else if (!wanted && hook != nullptr && !finger.finger.Touching()) {
                UnhookWindowsHookEx(hook);
                hook = nullptr;
                SetWindowTextA(finger.marker, "");
            }
            nextLook = now + kFormLookMs;
        }
        if (!finger.sim.IsOpen() && now >= nextOpen) {
            OpenDriver();
            nextOpen = now + kNoDriverRetryMs;
        }
        if (now >= nextPage) {
            RefreshPage();
            nextPage = now + kPageRefreshMs;
        }
        if (finger.finger.LiftIfDue(now)) Press({kv::bridge::PenAction::Kind::Up});
        if (nextRaise != 0 && now >= nextRaise) {
            RaiseOverCalibration();
            nextRaise = 0;
        }

        KvSimPointer pointer{};
        if (finger.sim.IsOpen()) {
            if (finger.sim.ReadPointer(pointer)) {
                ShowMarker(finger.tracker.Follow(kv::bridge::SampleOf(pointer), now), pointer);
                // The bridge presses and lets go a few ms after the driver.
                if (penWasDown && !pointer.PenDown) nextRaise = now + kRaiseAfterLiftMs;
                penWasDown = pointer.PenDown != 0;
            } else {
                finger.sim.Close();
            }
        }
        if (!finger.sim.IsOpen()) ShowMarker({}, pointer);

        DWORD wait = finger.finger.Touching() || finger.shown.visible ? kBusyPollMs : kIdlePollMs;
        if (const ULONGLONG due = finger.finger.LiftDueMs(); due != 0)
            wait = static_cast<DWORD>(std::min<ULONGLONG>(wait, due > now ? due - now : 0));
        // The hook runs inside this wait's message processing.
        MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                if (hook != nullptr) UnhookWindowsHookEx(hook);
                return 0;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}
