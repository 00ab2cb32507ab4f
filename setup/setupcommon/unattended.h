// Running the installer or the uninstaller with nobody at the machine
// ("/SILENT"): no window, no box, no question, no restart. What a box
// would have said goes to a log file, and the exit code tells the outcome
// in the way deployment tools read it.
#pragma once

#include <string>
#include <string_view>

#include "common/ports/desktop_port.h"

namespace kv {

inline constexpr int kExitDone = 0;
inline constexpr int kExitRestartNeeded = 3010;  // ERROR_SUCCESS_REBOOT_REQUIRED
inline constexpr int kExitFailed = 1603;         // ERROR_INSTALL_FAILURE

// True when one of the blank-separated words of `arguments` is "/SILENT",
// in any case.
bool HasSilentSwitch(std::string_view arguments);

class FailureLog {
public:
    virtual ~FailureLog() = default;
    virtual void Write(const std::string& text) = 0;
};

// Appends "<local time> <program>: <text>" lines to a file; a log that
// cannot be written is not a reason to fail the run.
class FileFailureLog : public FailureLog {
public:
    FileFailureLog(std::string path, std::string program)
        : path_(std::move(path)), program_(std::move(program)) {}
    void Write(const std::string& text) override;

private:
    std::string path_, program_;
};

// The platform's desktop with its boxes taken away: each box's text goes
// to the log and the box counts as answered with OK (every box these
// programs show in an unattended run reports a failure). The rest is the
// real desktop.
class UnattendedDesktop : public DesktopPort {
public:
    UnattendedDesktop(DesktopPort& desktop, FailureLog& log) : desktop_(desktop), log_(log) {}

    bool Failed() const { return failed_; }
    // kExitFailed after any box, else `done`.
    int ExitCode(int done) const { return failed_ ? kExitFailed : done; }

    void MessageBeep() override {}
    int MessageBoxA(WindowHandle owner, const std::string& text, const std::string& caption,
                    unsigned flags) override;
    int ShowCursor(bool show) override { return desktop_.ShowCursor(show); }
    WindowHandle FindWindowA(const char* className, const char* title) override {
        return desktop_.FindWindowA(className, title);
    }
    WindowHandle GetWindow(WindowHandle window, unsigned command) override {
        return desktop_.GetWindow(window, command);
    }
    WindowHandle GetParent(WindowHandle window) override { return desktop_.GetParent(window); }
    std::uint16_t GetWindowWord(WindowHandle window, int index) override {
        return desktop_.GetWindowWord(window, index);
    }
    int GetWindowTextA(WindowHandle window, char* buffer, int bufferSize) override {
        return desktop_.GetWindowTextA(window, buffer, bufferSize);
    }
    int GetWindowTextLengthA(WindowHandle window) override {
        return desktop_.GetWindowTextLengthA(window);
    }
    bool IsWindow(WindowHandle window) override { return desktop_.IsWindow(window); }
    // Nothing is brought to the front of a desktop nobody watches.
    bool SetForegroundWindow(WindowHandle) override { return false; }
    bool BringWindowToTop(WindowHandle) override { return false; }
    bool IsWindowVisible(WindowHandle window) override { return desktop_.IsWindowVisible(window); }
    bool IsWindowEnabled(WindowHandle window) override { return desktop_.IsWindowEnabled(window); }
    bool IsIconic(WindowHandle window) override { return desktop_.IsIconic(window); }
    bool ShowWindow(WindowHandle, int) override { return false; }
    std::uint32_t GetWindowThreadProcessId(WindowHandle window) override {
        return desktop_.GetWindowThreadProcessId(window);
    }
    std::intptr_t SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wParam,
                               std::intptr_t lParam) override {
        return desktop_.SendMessageA(window, message, wParam, lParam);
    }
    int ScreenWidthTwips() override { return desktop_.ScreenWidthTwips(); }
    int ScreenHeightTwips() override { return desktop_.ScreenHeightTwips(); }
    int TwipsPerPixelX() override { return desktop_.TwipsPerPixelX(); }
    int TwipsPerPixelY() override { return desktop_.TwipsPerPixelY(); }
    PixelRect WorkArea() override { return desktop_.WorkArea(); }

private:
    DesktopPort& desktop_;
    FailureLog& log_;
    bool failed_ = false;
};

}  // namespace kv
