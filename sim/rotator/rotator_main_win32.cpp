// The rotation program as the system meets it: it registers its window and
// the display's rotation code with the driver (through the stand-in's
// private request, as the real program does through its own driver
// interface), stays out of sight, and quits on WM_USER with 0x200E,
// withdrawing its registration.
//
//   KVROTATE.exe [rotation]   rotation 0..3; without it the driver keeps
//                             the rotation it has
#include <windows.h>

#include <cstdint>
#include <cstdlib>

#include "sim/kvsim/kvsim_client.h"

namespace {

constexpr WPARAM kRotatorClose = 0x200E;
kvsim::Client* g_driver = nullptr;

LRESULT CALLBACK RotatorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_USER:
            if (wParam == kRotatorClose) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            if (g_driver != nullptr) g_driver->RegisterRotator(-1);
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
    kvsim::Client driver;
    if (!driver.Open()) return 1;
    g_driver = &driver;

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = RotatorWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "KvRotatorStandIn";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "KVROTATE", WS_OVERLAPPED, 0, 0,
                                  160, 80, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    // The driver keeps 32 bits of a window handle, as the platform hands
    // them out (sign-extended back by whoever sends to it).
    driver.RegisterRotator(static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(window)),
                           RotationArgument(arguments));

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    g_driver = nullptr;
    return 0;
}
