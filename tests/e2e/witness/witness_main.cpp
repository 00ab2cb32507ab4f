// kv_e2e_witness.exe: a top-level window for the end-to-end tests that
// lives in a process of its own, so that a restart request (which ends
// every process with a window) does not end the test program.
//
//   kv_e2e_witness.exe <log file> [rotator]
//
// Appends "query-end-session" and "end-session" to the log when the session
// ends. With "rotator" it also registers its window with the driver as the
// rotation program and, on WM_USER 0x200E, logs "rotator-close" and quits.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "sim/kvsim/kvsim_client.h"

namespace {

std::string g_log;

void Log(const char* line) {
    if (FILE* f = std::fopen(g_log.c_str(), "ab")) {
        std::fprintf(f, "%s\r\n", line);
        std::fclose(f);
    }
}

LRESULT CALLBACK WitnessProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_QUERYENDSESSION:
        Log("query-end-session");
        return TRUE;
    case WM_ENDSESSION:
        Log("end-session");
        return 0;
    case WM_USER:
        if (wParam == 0x200E) {
            Log("rotator-close");
            DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    std::string args(commandLine ? commandLine : "");
    const bool rotator = args.size() >= 8 && args.compare(args.size() - 8, 8, " rotator") == 0;
    if (rotator) args.resize(args.size() - 8);
    if (!args.empty() && args.front() == '"') args = args.substr(1, args.find('"', 1) - 1);
    g_log = args;

    WNDCLASSA wc{};
    wc.lpfnWndProc = WitnessProc;
    wc.hInstance = instance;
    wc.lpszClassName = "KvE2eWitness";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, rotator ? "KVROTATE stand-in" : "Restart witness",
                                  WS_OVERLAPPEDWINDOW, 0, 0, 200, 80, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    if (rotator) {
        kvsim::Client sim;
        const auto handle = static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(window));
        if (!sim.Open() || !sim.RegisterRotator(handle)) return 2;
    }
    Log("ready");
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
