// The desktop: top-level windows and messages, message boxes, the cursor,
// screen metrics. One method per platform call, arguments as the system
// passes them.
#pragma once

#include <cstdint>
#include <string>

namespace kv {

using WindowHandle = std::intptr_t;  // 0 = none

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

constexpr unsigned kWmUser = 0x400;
constexpr unsigned kGwNext = 2;           // GetWindow: next window in Z order
constexpr int kGwlHInstanceWord = -6;     // GetWindowWord: instance word
constexpr int kSwRestore = 9;             // ShowWindow: un-minimise

// Message box flags and results used by the system.
constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbYesNo = 0x4;
constexpr unsigned kMbIconStop = 0x10;
constexpr unsigned kMbIconQuestion = 0x20;
constexpr unsigned kMbSystemModal = 0x1000;
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

class DesktopPort {
public:
    virtual ~DesktopPort() = default;

    // Message boxes and sound.
    virtual void MessageBeep() = 0;
    virtual int MessageBoxA(WindowHandle owner, const std::string& text,
                            const std::string& caption, unsigned flags) = 0;

    // Cursor: returns the new display count.
    virtual int ShowCursor(bool show) = 0;

    // Top-level windows.
    virtual WindowHandle FindWindowA(const char* className, const char* title) = 0;
    virtual WindowHandle GetWindow(WindowHandle window, unsigned command) = 0;
    virtual WindowHandle GetParent(WindowHandle window) = 0;
    virtual std::uint16_t GetWindowWord(WindowHandle window, int index) = 0;
    // Copies at most bufferSize - 1 characters; returns the count copied.
    virtual int GetWindowTextA(WindowHandle window, char* buffer, int bufferSize) = 0;
    virtual int GetWindowTextLengthA(WindowHandle window) = 0;
    virtual bool IsWindow(WindowHandle window) = 0;
    virtual bool SetForegroundWindow(WindowHandle window) = 0;
    virtual bool BringWindowToTop(WindowHandle window) = 0;
    // Window states. The defaults (a plain shown window of no known
    // thread) keep small test desktops that do not care short.
    virtual bool IsWindowVisible(WindowHandle) { return true; }
    virtual bool IsWindowEnabled(WindowHandle) { return true; }
    virtual bool IsIconic(WindowHandle) { return false; }
    virtual bool ShowWindow(WindowHandle, int /*command*/) { return false; }
    // The id of the thread that created the window (0 when there is none).
    virtual std::uint32_t GetWindowThreadProcessId(WindowHandle) { return 0; }
    virtual std::intptr_t SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                       std::intptr_t lParam) = 0;

    // Screen geometry.
    virtual int ScreenWidthTwips() = 0;
    virtual int ScreenHeightTwips() = 0;
    virtual int TwipsPerPixelX() = 0;
    virtual int TwipsPerPixelY() = 0;
    virtual PixelRect WorkArea() = 0;  // SystemParametersInfoA(SPI_GETWORKAREA)
};

}  // namespace kv
