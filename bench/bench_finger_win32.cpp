// The mouse as a finger under Wine: how soon a left press over a window
// that waits for touches is a touch in the stand-in driver (through
// kvfinger's low-level hook), and how soon after that the marker and the
// pointer (through kvbridge) stand on the driver's mapped point. The window
// is one of the benchmark's own that carries the calibration screen's form
// name, so that kvfinger takes it for one; the panel is wired upside down
// and calibrated off, so the mapped point is never the pressed one.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "harness/harness.h"
#include "harness/input.h"
#include "sim/kvsim/kvsim_client.h"

namespace {

constexpr int kRingRadius = 12;  // kvfinger's marker

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Polls `done` (pumping this thread's window) for up to 2 s; the time it
// took from t0, or -1.
template <typename F>
double Until(double t0, F done) {
    while (e2e::NowMs() - t0 < 2000) {
        Pump();
        if (done()) return e2e::NowMs() - t0;
    }
    return -1;
}

void Report(const char* what, std::vector<double> ms) {
    const auto lost = std::count(ms.begin(), ms.end(), -1.0);
    ms.erase(std::remove(ms.begin(), ms.end(), -1.0), ms.end());
    std::sort(ms.begin(), ms.end());
    if (ms.empty()) {
        std::printf("%s: never\n", what);
        return;
    }
    std::printf("%s, %zu samples: median %.1f ms, 90th %.1f ms, min %.1f ms, max %.1f ms%s\n", what,
                ms.size(), ms[ms.size() / 2], ms[ms.size() * 9 / 10], ms.front(), ms.back(),
                lost ? " (some never came)" : "");
}

HWND MakeTouchWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BenchTouchScreen";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "Calibration", WS_POPUP | WS_VISIBLE, 0,
                             0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                             nullptr, wc.hInstance, nullptr);
    ATOM name = GlobalAddAtomA("frmCalibration");
    SetPropA(w, "Name", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(name)));
    SetForegroundWindow(w);
    return w;
}

std::string Beside(const char* name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1) + name;
}

}  // namespace

int main(int argc, char** argv) {
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 100;
    e2e::KillAllNamed("kvbridge.exe");
    e2e::KillAllNamed("kvfinger.exe");
    kvsim::Client sim;
    if (!sim.Open()) {
        std::printf("cannot open the KVTOUCH device\n");
        return 1;
    }
    KvSimState was{};
    sim.ReadState(was);
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    sim.SetScreen(w, h, true);
    sim.SetWiring(3);
    sim.SetCalibration(CalData{90, 540, 1000, 60, 500, 950}, 0);
    HWND window = MakeTouchWindow();
    e2e::Process bridge = e2e::Process::Start(e2e::InstalledProgram("kvbridge.exe"));
    e2e::Process finger = e2e::Process::Start(Beside("kvfinger.exe"));
    HWND marker = nullptr;
    e2e::WaitUntil([&] { return (marker = FindWindowA("KvFingerMarker", nullptr)) != nullptr; });
    Sleep(500);
    if (!bridge.Running() || !finger.Running() || marker == nullptr) {
        std::printf("kvbridge.exe or kvfinger.exe did not start\n");
        return 1;
    }

    std::vector<double> toDriver, toMarker, toPointer;
    srand(11);
    for (int i = 0; i < cycles; ++i) {
        const int x = 60 + rand() % (w - 120), y = 60 + rand() % (h - 120);
        KvSimPointer p{};
        sim.ReadPointer(p);
        const std::uint32_t before = p.Touches;
        Sleep(static_cast<DWORD>(5 + rand() % 20));  // presses come at any phase of the polls
        e2e::SendMouse(x, y, 0);
        Pump();
        const double t0 = e2e::NowMs();
        e2e::SendMouse(x, y, MOUSEEVENTF_LEFTDOWN);
        const double d = Until(t0, [&] { return sim.ReadPointer(p) && p.Touches != before && p.PenDown; });
        toDriver.push_back(d);
        if (d >= 0) {
            const double t1 = e2e::NowMs();
            const POINT mapped{p.MappedX, p.MappedY};
            bool markerDone = false, pointerDone = false;
            double m = -1, c = -1;
            Until(t1, [&] {
                RECT r;
                if (!markerDone && IsWindowVisible(marker) && GetWindowRect(marker, &r) &&
                    r.left + kRingRadius == mapped.x && r.top + kRingRadius == mapped.y) {
                    markerDone = true;
                    m = e2e::NowMs() - t1;
                }
                POINT at;
                if (!pointerDone && GetCursorPos(&at) && at.x == mapped.x && at.y == mapped.y) {
                    pointerDone = true;
                    c = e2e::NowMs() - t1;
                }
                return markerDone && pointerDone;
            });
            toMarker.push_back(m);
            toPointer.push_back(c);
        }
        Sleep(90);  // a click's length: kvfinger holds shorter ones that long
        e2e::SendMouse(x, y, MOUSEEVENTF_LEFTUP);
        Until(e2e::NowMs(), [&] { return sim.ReadPointer(p) && !p.PenDown; });
    }
    Report("mouse press to the touch in the driver", toDriver);
    Report("touch in the driver to the marker on the mapped point", toMarker);
    Report("touch in the driver to the pointer on the mapped point", toPointer);

    finger.Kill();
    bridge.Kill();
    DestroyWindow(window);
    sim.SetWiring(was.Wiring);
    sim.SetCalibration(was.Params.Cal, was.Params.CalFlags);
    sim.SetScreen(was.SimScreenWidth, was.SimScreenHeight, false);
    TouchParams p = was.Params;
    sim.Control(KV_IOCTL_SET_SCREEN_SIZE, &p, sizeof p, &p, sizeof p);
    return 0;
}
