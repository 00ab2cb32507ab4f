#include "win32/ports_win32.h"

namespace kv::win32 {

namespace {
HWND W(WindowHandle h) { return reinterpret_cast<HWND>(h); }
WindowHandle H(HWND w) { return reinterpret_cast<WindowHandle>(w); }

int Dpi(int axis) {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, axis);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}
}  // namespace

void Win32DesktopPort::MessageBeep() { ::MessageBeep(0); }

int Win32DesktopPort::MessageBoxA(WindowHandle owner, const std::string& text,
                                  const std::string& caption, unsigned flags) {
    return ::MessageBoxA(W(owner), text.c_str(), caption.c_str(), flags);
}

int Win32DesktopPort::ShowCursor(bool show) { return ::ShowCursor(show ? TRUE : FALSE); }

WindowHandle Win32DesktopPort::FindWindowA(const char* className, const char* title) {
    return H(::FindWindowA(className, title));
}

WindowHandle Win32DesktopPort::GetWindow(WindowHandle window, unsigned command) {
    return H(::GetWindow(W(window), command));
}

WindowHandle Win32DesktopPort::GetParent(WindowHandle window) { return H(::GetParent(W(window))); }

std::uint16_t Win32DesktopPort::GetWindowWord(WindowHandle window, int index) {
    if (index < 0) return static_cast<std::uint16_t>(::GetWindowLongPtrA(W(window), index) & 0xFFFF);
    return static_cast<std::uint16_t>(::GetWindowWord(W(window), index));
}

int Win32DesktopPort::GetWindowTextA(WindowHandle window, char* buffer, int bufferSize) {
    return ::GetWindowTextA(W(window), buffer, bufferSize);
}

int Win32DesktopPort::GetWindowTextLengthA(WindowHandle window) {
    return ::GetWindowTextLengthA(W(window));
}

bool Win32DesktopPort::IsWindow(WindowHandle window) { return ::IsWindow(W(window)) != FALSE; }

bool Win32DesktopPort::SetForegroundWindow(WindowHandle window) {
    return ::SetForegroundWindow(W(window)) != FALSE;
}

bool Win32DesktopPort::BringWindowToTop(WindowHandle window) {
    return ::BringWindowToTop(W(window)) != FALSE;
}

bool Win32DesktopPort::IsWindowVisible(WindowHandle window) {
    return ::IsWindowVisible(W(window)) != FALSE;
}

bool Win32DesktopPort::IsWindowEnabled(WindowHandle window) {
    return ::IsWindowEnabled(W(window)) != FALSE;
}

bool Win32DesktopPort::IsIconic(WindowHandle window) { return ::IsIconic(W(window)) != FALSE; }

bool Win32DesktopPort::ShowWindow(WindowHandle window, int command) {
    return ::ShowWindow(W(window), command) != FALSE;
}

std::uint32_t Win32DesktopPort::GetWindowThreadProcessId(WindowHandle window) {
    return ::GetWindowThreadProcessId(W(window), nullptr);
}

std::intptr_t Win32DesktopPort::SendMessageA(WindowHandle window, unsigned message,
                                             std::uintptr_t wParam, std::intptr_t lParam) {
    return ::SendMessageA(W(window), message, wParam, lParam);
}

int Win32DesktopPort::TwipsPerPixelX() { return 1440 / Dpi(LOGPIXELSX); }
int Win32DesktopPort::TwipsPerPixelY() { return 1440 / Dpi(LOGPIXELSY); }

int Win32DesktopPort::ScreenWidthTwips() {
    return ::GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX();
}

int Win32DesktopPort::ScreenHeightTwips() {
    return ::GetSystemMetrics(SM_CYSCREEN) * TwipsPerPixelY();
}

PixelRect Win32DesktopPort::WorkArea() {
    RECT r{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return PixelRect{r.left, r.top, r.right, r.bottom};
}

}  // namespace kv::win32
