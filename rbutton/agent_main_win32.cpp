// KVRBTN's entry point and the window procedure it puts in front of its
// form's own: WM_USER carries the other programs' commands; everything else
// goes to the form layer's procedure unchanged.
#include <windows.h>

#include "rbutton/right_button_agent.h"
#include "win32/win32_forms.h"
#include "win32/ports_win32.h"

namespace {

kv::RightButtonAgent* g_agent = nullptr;
WNDPROC g_replaced = nullptr;

LRESULT CALLBACK AgentWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER && g_agent) return g_agent->HandleCommand(wParam, lParam);
    return CallWindowProcA(g_replaced, window, message, wParam, lParam);
}

class Win32AgentHost : public kv::AgentHost {
public:
    void ReplaceWindowProcedure(kv::ui::Form& form) override {
        HWND window = kv::win32::FormWindow(form);
        g_replaced = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AgentWindowProc)));
    }

    void RestoreWindowProcedure(kv::ui::Form& form) override {
        HWND window = kv::win32::FormWindow(form);
        if (window && g_replaced)
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_replaced));
    }

    // The starters ask for the hidden show state, and the platform applies
    // it to the first window a program shows; the agent is of no use
    // unseen, so it shows itself (AgentHide still hides it afterwards).
    void ForceVisible(kv::ui::Form& form) override {
        HWND window = kv::win32::FormWindow(form);
        for (int attempt = 0; window && attempt < 2 && !IsWindowVisible(window); ++attempt)
            ShowWindow(window, SW_SHOWNA);
    }

    // Sleeps until input or a posted message arrives, or the time is up.
    void WaitForEvents(int ms) override {
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(ms), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    kv::win32::Win32FormPlatform forms(instance);
    kv::ui::SetPlatform(&forms);
    kv::win32::Win32DevicePort devicePort;
    kv::win32::Win32DesktopPort desktop;
    kv::DeviceChannel channel(devicePort);
    Win32AgentHost host;
    kv::RightButtonAgent agent(channel, desktop, host);
    g_agent = &agent;
    if (agent.Start()) forms.RunMessageLoop();
    g_agent = nullptr;
    kv::ui::SetPlatform(nullptr);
    return 0;
}
