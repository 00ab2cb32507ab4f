#include "harness/input.h"

#include <vector>

#include "harness/harness.h"
#include "sim/bridge/pointer_bridge.h"

namespace e2e {

namespace {

INPUT Key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

void Send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(30);  // let the receiving thread's queue take them in order
}

INPUT Mouse(DWORD flags, LONG x = 0, LONG y = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = x;
    in.mi.dy = y;
    in.mi.dwFlags = flags;
    return in;
}

}  // namespace

void PressKey(WORD vk, bool shift, bool alt) {
    std::vector<INPUT> inputs;
    if (shift) inputs.push_back(Key(VK_SHIFT, false));
    if (alt) inputs.push_back(Key(VK_MENU, false));
    inputs.push_back(Key(vk, false));
    inputs.push_back(Key(vk, true));
    if (alt) inputs.push_back(Key(VK_MENU, true));
    if (shift) inputs.push_back(Key(VK_SHIFT, true));
    Send(inputs);
}

void KeyDown(WORD vk) { Send({Key(vk, false)}); }
void KeyUp(WORD vk) { Send({Key(vk, true)}); }

void MouseClick(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    MouseClick(r);
}

void MouseClick(const RECT& r) {
    const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const LONG x = kv::bridge::ToAbsolute(at.x, GetSystemMetrics(SM_CXSCREEN));
    const LONG y = kv::bridge::ToAbsolute(at.y, GetSystemMetrics(SM_CYSCREEN));
    // The pointer first, the press only once it is there (under X11 a move
    // and a press sent together may reach the window before the move), and
    // the press and release at that point too: a window shown under the
    // pointer may still report where the pointer was.
    const DWORD here = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    Send({Mouse(here, x, y)});
    WaitUntil(
        [&] {
            POINT p;
            return GetCursorPos(&p) && p.x == at.x && p.y == at.y;
        },
        2000);
    Send({Mouse(here | MOUSEEVENTF_LEFTDOWN, x, y), Mouse(here | MOUSEEVENTF_LEFTUP, x, y)});
}

namespace {
GUITHREADINFO ThreadInfo(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (thread == 0 || !GetGUIThreadInfo(thread, &info)) info = GUITHREADINFO{};
    return info;
}
}  // namespace

INPUT AbsoluteMouse(int x, int y, DWORD flags) {
    return Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags,
                 kv::bridge::ToAbsolute(x, GetSystemMetrics(SM_CXSCREEN)),
                 kv::bridge::ToAbsolute(y, GetSystemMetrics(SM_CYSCREEN)));
}

void SendMouse(int x, int y, DWORD flags) {
    INPUT in = AbsoluteMouse(x, y, flags);
    SendInput(1, &in, sizeof in);
}

HWND FocusOf(HWND window) { return ThreadInfo(window).hwndFocus; }
HWND ActiveOf(HWND window) { return ThreadInfo(window).hwndActive; }

std::string FocusName(HWND window) {
    HWND focus = FocusOf(window);
    if (focus == nullptr) return "(none)";
    const std::string name = DesignName(focus);
    return name.empty() ? "\"" + WindowText(focus) + "\"" : name;
}

bool WaitForFocus(HWND form, const std::string& designName, DWORD timeoutMs) {
    // Child windows carry no name: the form says which window is the control.
    return WaitUntil(
        [&] {
            HWND focus = FocusOf(form);
            return focus != nullptr && focus == FindControl(form, designName);
        },
        timeoutMs);
}

}  // namespace e2e
