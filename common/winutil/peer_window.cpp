#include "common/winutil/peer_window.h"

#include <cstdint>

#include "common/ports/process_port.h"
#include "common/winutil/message_boxes.h"

namespace kv {

namespace {
constexpr int kTitleBufferSize = 128;
// The platform warns that a GetWindow walk can run in circles while windows
// come and go; no desktop holds this many top-level windows.
constexpr int kMaxWindowsWalked = 20000;
}  // namespace

WindowHandle FindPeerWindow(DesktopPort& desktop, WindowHandle own, const std::string& caption) {
    WindowHandle h = desktop.FindWindowA(nullptr, nullptr);
    for (int walked = 0; h != 0 && walked < kMaxWindowsWalked;
         ++walked, h = desktop.GetWindow(h, kGwNext)) {
        if (h == own || desktop.GetParent(h) != 0 ||
            desktop.GetWindowWord(h, kGwlHInstanceWord) != 0)
            continue;
        char title[kTitleBufferSize] = {};
        desktop.GetWindowTextA(h, title, kTitleBufferSize);
        title[kTitleBufferSize - 1] = '\0';  // whatever the platform copied
        const int length = desktop.GetWindowTextLengthA(h);
        if (length > 0 && caption == title) return h;
    }
    return 0;
}

std::string ApplicationRunningText() {
    return "Application is running!\r\rPlease find and select the running window from Taskbar.";
}

WindowHandle UserFacingWindow(DesktopPort& desktop, WindowHandle main) {
    if (desktop.IsWindowVisible(main) && desktop.IsWindowEnabled(main)) return main;
    // A program that hides its main window while a dialog is open: the
    // topmost visible, enabled window of the same thread is the one in use.
    const std::uint32_t thread = desktop.GetWindowThreadProcessId(main);
    WindowHandle h = desktop.FindWindowA(nullptr, nullptr);
    for (int walked = 0; h != 0 && thread != 0 && walked < kMaxWindowsWalked;
         ++walked, h = desktop.GetWindow(h, kGwNext)) {
        if (h != main && desktop.GetWindowThreadProcessId(h) == thread &&
            desktop.IsWindowVisible(h) && desktop.IsWindowEnabled(h))
            return h;
    }
    return main;
}

bool HandOverToRunningInstance(ProcessPort& process, DesktopPort& desktop,
                               const std::string& programId, WindowHandle own,
                               const std::string& caption) {
    if (!process.PreviousInstanceRunning(programId)) return false;
    if (const WindowHandle peer = FindPeerWindow(desktop, own, caption)) {
        const WindowHandle target = UserFacingWindow(desktop, peer);
        if (desktop.IsIconic(target)) desktop.ShowWindow(target, kSwRestore);
        desktop.SetForegroundWindow(target);
        desktop.BringWindowToTop(target);
    } else {
        ErrorBox(desktop, ApplicationRunningText(), caption);
    }
    return true;
}

}  // namespace kv
