// A desktop for unit tests: records message boxes, beeps, cursor calls and
// sent messages in the order they happen, and holds a list of top-level
// windows in Z order (first = top) with parent/owner, instance word, class
// and title. Screen size, work area and twips per pixel are settable.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "common/ports/desktop_port.h"

namespace kv {

class FakeDesktop : public DesktopPort {
public:
    struct MessageBoxCall {
        WindowHandle owner = 0;
        std::string text;
        std::string caption;
        unsigned flags = 0;
    };

    struct SentMessage {
        WindowHandle window = 0;
        unsigned message = 0;
        std::uintptr_t wParam = 0;
        std::intptr_t lParam = 0;
    };

    struct Window {
        WindowHandle handle = 0;
        WindowHandle parent = 0;  // parent or owner, as GetParent reports it
        std::uint16_t instanceWord = 0;
        std::string className;
        std::string title;
        bool visible = true;
        bool enabled = true;
        bool iconic = false;
        std::uint32_t thread = 1;
    };

    // DesktopPort.
    void MessageBeep() override;
    int MessageBoxA(WindowHandle owner, const std::string& text, const std::string& caption,
                    unsigned flags) override;
    int ShowCursor(bool show) override;
    WindowHandle FindWindowA(const char* className, const char* title) override;
    WindowHandle GetWindow(WindowHandle window, unsigned command) override;
    WindowHandle GetParent(WindowHandle window) override;
    std::uint16_t GetWindowWord(WindowHandle window, int index) override;
    int GetWindowTextA(WindowHandle window, char* buffer, int bufferSize) override;
    int GetWindowTextLengthA(WindowHandle window) override;
    bool IsWindow(WindowHandle window) override;
    bool SetForegroundWindow(WindowHandle window) override;
    bool BringWindowToTop(WindowHandle window) override;
    bool IsWindowVisible(WindowHandle window) override;
    bool IsWindowEnabled(WindowHandle window) override;
    bool IsIconic(WindowHandle window) override;
    bool ShowWindow(WindowHandle window, int command) override;
    std::uint32_t GetWindowThreadProcessId(WindowHandle window) override;
    std::intptr_t SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam,
                               std::intptr_t lParam) override;
    int ScreenWidthTwips() override;
    int ScreenHeightTwips() override;
    int TwipsPerPixelX() override;
    int TwipsPerPixelY() override;
    PixelRect WorkArea() override;

    // Windows: appended at the bottom of the Z order.
    WindowHandle AddWindow(const std::string& title, WindowHandle parent = 0,
                           std::uint16_t instanceWord = 0, const std::string& className = "");
    void DestroyWindow(WindowHandle window);
    Window* Get(WindowHandle window);
    std::vector<Window> windows;

    // What happened, in order: "MessageBeep", "MessageBoxA", "ShowCursor",
    // "SetForegroundWindow", "BringWindowToTop", "ShowWindow", "SendMessageA".
    std::vector<std::string> calls;
    std::vector<MessageBoxCall> messageBoxes;
    int beeps = 0;
    // Answers of the next boxes, first first; when empty a box answers
    // OK (1) or, for Yes/No boxes, `defaultYesNoAnswer`.
    std::deque<int> messageBoxAnswers;
    int defaultYesNoAnswer = kIdYes;
    // What the user does while a box asks, before it is answered.
    std::function<void(const MessageBoxCall&)> whileBoxIsUp;

    int cursorCount = 0;  // the display count ShowCursor moves
    int showCursorCalls = 0;

    std::vector<WindowHandle> foregrounded;
    std::vector<WindowHandle> broughtToTop;
    std::vector<std::pair<WindowHandle, int>> shown;  // ShowWindow calls
    std::vector<SentMessage> sentMessages;  // only those that reached a window
    int sendsToDeadWindows = 0;
    std::intptr_t sendResult = 0;

    // 1024 x 768 pixels at 96 DPI.
    int screenWidthTwips = 15360;
    int screenHeightTwips = 11520;
    int twipsPerPixelX = 15;
    int twipsPerPixelY = 15;
    PixelRect workArea{0, 0, 1024, 738};

private:
    const Window* Find(WindowHandle window) const;
    WindowHandle nextHandle_ = 0x10010;
};

}  // namespace kv
