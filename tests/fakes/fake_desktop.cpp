#include "tests/fakes/fake_desktop.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace kv {

namespace {

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

const FakeDesktop::Window* FakeDesktop::Find(WindowHandle window) const {
    for (const Window& w : windows)
        if (w.handle == window) return &w;
    return nullptr;
}

void FakeDesktop::MessageBeep() {
    calls.push_back("MessageBeep");
    ++beeps;
}

int FakeDesktop::MessageBoxA(WindowHandle owner, const std::string& text,
                             const std::string& caption, unsigned flags) {
    calls.push_back("MessageBoxA");
    messageBoxes.push_back({owner, text, caption, flags});
    // A copy: the user's action may raise another box.
    if (whileBoxIsUp) {
        const MessageBoxCall box = messageBoxes.back();
        whileBoxIsUp(box);
    }
    if (!messageBoxAnswers.empty()) {
        const int answer = messageBoxAnswers.front();
        messageBoxAnswers.pop_front();
        return answer;
    }
    return (flags & 0xF) == kMbYesNo ? defaultYesNoAnswer : kIdOk;
}

int FakeDesktop::ShowCursor(bool show) {
    calls.push_back("ShowCursor");
    ++showCursorCalls;
    cursorCount += show ? 1 : -1;
    return cursorCount;
}

// Like the platform, the title comparison ignores case and a null
// argument matches anything; owned windows are top-level windows too.
WindowHandle FakeDesktop::FindWindowA(const char* className, const char* title) {
    for (const Window& w : windows) {
        if (className && !SameTextIgnoringCase(w.className, className)) continue;
        if (title && !SameTextIgnoringCase(w.title, title)) continue;
        return w.handle;
    }
    return 0;
}

WindowHandle FakeDesktop::GetWindow(WindowHandle window, unsigned command) {
    if (command != kGwNext) return 0;
    for (std::size_t i = 0; i < windows.size(); ++i)
        if (windows[i].handle == window) return i + 1 < windows.size() ? windows[i + 1].handle : 0;
    return 0;
}

WindowHandle FakeDesktop::GetParent(WindowHandle window) {
    const Window* w = Find(window);
    return w ? w->parent : 0;
}

std::uint16_t FakeDesktop::GetWindowWord(WindowHandle window, int index) {
    const Window* w = Find(window);
    return w && index == kGwlHInstanceWord ? w->instanceWord : 0;
}

int FakeDesktop::GetWindowTextA(WindowHandle window, char* buffer, int bufferSize) {
    if (buffer == nullptr || bufferSize <= 0) return 0;
    const Window* w = Find(window);
    if (!w) {
        buffer[0] = '\0';
        return 0;
    }
    const int copied = std::min(static_cast<int>(w->title.size()), bufferSize - 1);
    std::memcpy(buffer, w->title.data(), static_cast<std::size_t>(copied));
    buffer[copied] = '\0';
    return copied;
}

int FakeDesktop::GetWindowTextLengthA(WindowHandle window) {
    const Window* w = Find(window);
    return w ? static_cast<int>(w->title.size()) : 0;
}

bool FakeDesktop::IsWindow(WindowHandle window) { return Find(window) != nullptr; }

bool FakeDesktop::SetForegroundWindow(WindowHandle window) {
    calls.push_back("SetForegroundWindow");
    foregrounded.push_back(window);
    return Find(window) != nullptr;
}

FakeDesktop::Window* FakeDesktop::Get(WindowHandle window) {
    return const_cast<Window*>(Find(window));
}

bool FakeDesktop::IsWindowVisible(WindowHandle window) {
    const Window* w = Find(window);
    return w != nullptr && w->visible;
}

bool FakeDesktop::IsWindowEnabled(WindowHandle window) {
    const Window* w = Find(window);
    return w != nullptr && w->enabled;
}

bool FakeDesktop::IsIconic(WindowHandle window) {
    const Window* w = Find(window);
    return w != nullptr && w->iconic;
}

bool FakeDesktop::ShowWindow(WindowHandle window, int command) {
    calls.push_back("ShowWindow");
    shown.emplace_back(window, command);
    Window* w = Get(window);
    if (w == nullptr) return false;
    const bool wasVisible = w->visible;
    if (command == kSwRestore) {
        w->iconic = false;
        w->visible = true;
    }
    return wasVisible;
}

std::uint32_t FakeDesktop::GetWindowThreadProcessId(WindowHandle window) {
    const Window* w = Find(window);
    return w != nullptr ? w->thread : 0;
}

bool FakeDesktop::BringWindowToTop(WindowHandle window) {
    calls.push_back("BringWindowToTop");
    broughtToTop.push_back(window);
    const auto it = std::find_if(windows.begin(), windows.end(),
                                 [&](const Window& w) { return w.handle == window; });
    if (it == windows.end()) return false;
    std::rotate(windows.begin(), it, it + 1);
    return true;
}

std::intptr_t FakeDesktop::SendMessageA(WindowHandle window, unsigned message,
                                        std::uintptr_t wParam, std::intptr_t lParam) {
    calls.push_back("SendMessageA");
    if (!Find(window)) {
        ++sendsToDeadWindows;
        return 0;
    }
    sentMessages.push_back({window, message, wParam, lParam});
    return sendResult;
}

int FakeDesktop::ScreenWidthTwips() { return screenWidthTwips; }
int FakeDesktop::ScreenHeightTwips() { return screenHeightTwips; }
int FakeDesktop::TwipsPerPixelX() { return twipsPerPixelX; }
int FakeDesktop::TwipsPerPixelY() { return twipsPerPixelY; }
PixelRect FakeDesktop::WorkArea() { return workArea; }

WindowHandle FakeDesktop::AddWindow(const std::string& title, WindowHandle parent,
                                    std::uint16_t instanceWord, const std::string& className) {
    const WindowHandle handle = nextHandle_;
    nextHandle_ += 0x10;
    windows.push_back({handle, parent, instanceWord, className, title});
    return handle;
}

void FakeDesktop::DestroyWindow(WindowHandle window) {
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [&](const Window& w) { return w.handle == window; }),
                  windows.end());
}

}  // namespace kv
