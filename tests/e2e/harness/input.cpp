#include "harness/input.h"

#include <vector>

#include "harness/harness.h"

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
    const int cx = GetSystemMetrics(SM_CXSCREEN) - 1;
    const int cy = GetSystemMetrics(SM_CYSCREEN) - 1;
    const LONG x = ((r.left + r.right) / 2) * 65535 / cx;
    const LONG y = ((r.top + r.bottom) / 2) * 65535 / cy;
    Send({Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y), Mouse(MOUSEEVENTF_LEFTDOWN),
          Mouse(MOUSEEVENTF_LEFTUP)});
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

HWND FocusOf(HWND window) { return ThreadInfo(window).hwndFocus; }
HWND ActiveOf(HWND window) { return ThreadInfo(window).hwndActive; }

std::string FocusName(HWND window) {
    HWND focus = FocusOf(window);
    return focus != nullptr ? DesignName(focus) : std::string("(none)");
}

bool WaitForFocus(HWND window, const std::string& designName, DWORD timeoutMs) {
    return WaitUntil([&] { return FocusName(window) == designName; }, timeoutMs);
}

}  // namespace e2e
