// Real input for the end-to-end tests: keys and mouse through SendInput, as
// a user's keyboard and mouse deliver them to the foreground window, and
// what the user's keys reach (GetGUIThreadInfo of the window's thread).
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// A key pressed and let go, with Shift and/or Alt held around it.
void PressKey(WORD vk, bool shift = false, bool alt = false);
void KeyDown(WORD vk);
void KeyUp(WORD vk);

// The pointer moved onto the middle of `window` (or of a rectangle on the
// screen, such as a windowless control's), then the left button pressed and
// let go there.
void MouseClick(HWND window);
void MouseClick(const RECT& screen);

// A move to screen pixel (x, y) with `flags` added (a button down or up),
// ready for SendInput; SendMouse sends it at once.
INPUT AbsoluteMouse(int x, int y, DWORD flags);
void SendMouse(int x, int y, DWORD flags);

// The focus and the active window of the thread that owns `window`.
HWND FocusOf(HWND window);
HWND ActiveOf(HWND window);
// What FocusOf(window) is, for messages: its design name, else its text in
// quotes; "(none)" when no window of that thread has the focus.
std::string FocusName(HWND window);
// Waits (bounded) until the focus of `form`'s thread is on its control
// `designName`.
bool WaitForFocus(HWND form, const std::string& designName, DWORD timeoutMs = 5000);

}  // namespace e2e
