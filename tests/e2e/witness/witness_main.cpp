// kv_e2e_witness.exe: a top-level window for the end-to-end tests that
// lives in a process of its own, so that a restart request (which ends
// every process with a window) does not end the test program.
//
//   kv_e2e_witness.exe <log file>
//
// Appends "query-end-session" and "end-session" to the log when the session
// ends.
#include <windows.h>

#include <cstdio>
#include <string>

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
    if (!args.empty() && args.front() == '"') args = args.substr(1, args.find('"', 1) - 1);
    g_log = args;

    WNDCLASSA wc{};
    wc.lpfnWndProc = WitnessProc;
    wc.hInstance = instance;
    wc.lpszClassName = "KvE2eWitness";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "Restart witness",
                                  WS_OVERLAPPEDWINDOW, 0, 0, 200, 80, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    Log("ready");
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
