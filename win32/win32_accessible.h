// The forms' answer to screen readers and automation tools: an IAccessible
// made when WM_GETOBJECT asks for it (never at start-up), serving what
// ui/accessibility.h decides, and the events such tools listen for.
//
// A form window answers for itself and lists its controls as simple
// children (child id = ui::ChildIdOf). A control window answers for that
// control alone, so a tool that follows the system's own focus events to
// a button's window gets the button's role, not a bare client area.
#pragma once

#include <windows.h>

namespace kv::ui {
class Control;
}

namespace kv::win32 {

class Win32FormPeer;

// WM_GETOBJECT sent to `window`, the form's window (`self` nullptr) or the
// window of `self`. False when the back end leaves it to the system.
bool AnswerGetObject(HWND formWindow, const ui::Control* self, WPARAM wParam, LPARAM lParam,
                     LRESULT* result);

// A default action asked for by a tool runs after the tool's call has
// returned: a click may open a modal window, and the tool must not wait
// for it to close. The form posts itself this message (0 until the first
// request); wParam is the child id.
UINT DefaultActionMessage();
void PerformDefaultAction(Win32FormPeer& peer, WPARAM childId);

// Tells listening tools that `event` happened to `control` (nullptr: the
// form) of the form whose window is `formWindow`.
void NotifyAccessibleEvent(DWORD event, HWND formWindow, const ui::Control* control);

}  // namespace kv::win32
