// The rotation program as the system meets it: it registers its window and
// the display's rotation code with the driver (through the stand-in's
// private request, as the real program does through its own driver
// interface), tells the driver the screen size (the startup agent leaves
// that to it), stays out of sight, and quits on WM_USER with 0x200E,
// withdrawing its registration. One runs per session: a second start, as
// every logon run of the startup agent makes, leaves the first in charge.
//
//   KVROTATE.exe [rotation]   rotation 0..3; without it the driver keeps
//                             the rotation it has
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "sim/kvsim/kvsim_client.h"

namespace {

constexpr WPARAM kRotatorClose = 0x200E;
constexpr const char* kWindowClass = "KvRotatorStandIn";
kvsim::Client* g_driver = nullptr;

// The registration as the driver holds it, widened as the platform hands
// handles out (sign-extended); nullptr when none or unreadable.
HWND RegisteredWindow(kvsim::Client& driver) {
    KvSimState state{};
    if (!driver.ReadState(state) || state.Rotator.RotatorWindow == -1) return nullptr;
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(state.Rotator.RotatorWindow));
}

// A rotation program already registered and alive: its window still exists
// and is one of ours, not a handle the system has since given to another.
bool AnotherRotatorRunning(kvsim::Client& driver) {
    HWND registered = RegisteredWindow(driver);
    if (registered == nullptr || !IsWindow(registered)) return false;
    char name[64] = {};
    GetClassNameA(registered, name, sizeof name);
    return std::strcmp(name, kWindowClass) == 0;
}

LRESULT CALLBACK RotatorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_USER:
            if (wParam == kRotatorClose) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            // Only our own registration is withdrawn.
            if (g_driver != nullptr && RegisteredWindow(*g_driver) == window)
                g_driver->RegisterRotator(-1);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

std::int32_t RotationArgument(const char* arguments) {
    if (arguments == nullptr || *arguments == '\0') return -1;
    char* end = nullptr;
    const long rotation = std::strtol(arguments, &end, 10);
    return (end != arguments && rotation >= 0 && rotation <= 3) ? static_cast<std::int32_t>(rotation)
                                                                 : -1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    // The driver maps touches onto the display's physical pixels.
    SetProcessDPIAware();
    kvsim::Client driver;
    if (!driver.Open()) return 1;
    if (AnotherRotatorRunning(driver)) return 0;
    g_driver = &driver;

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = RotatorWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "KVROTATE", WS_OVERLAPPED, 0, 0,
                                  160, 80, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    // The driver keeps 32 bits of a window handle, as the platform hands
    // them out (sign-extended back by whoever sends to it).
    driver.RegisterRotator(static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(window)),
                           RotationArgument(arguments));
    driver.SetScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), true);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    g_driver = nullptr;
    return 0;
}
