// Finding the main window of an already running instance of a program.
#pragma once

#include <string>

#include "common/ports/desktop_port.h"

namespace kv {

class ProcessPort;

// The first top-level window, other than `own`, that has no parent or
// owner, an instance word of 0 and a title equal to `caption` (exactly,
// case-sensitive; titles are read into 128 characters, so at most 127
// count). 0 when there is none.
WindowHandle FindPeerWindow(DesktopPort& desktop, WindowHandle own, const std::string& caption);

// The window of `main`'s program that the user has: `main` when it is
// visible and enabled, else the topmost visible, enabled top-level window
// of the same thread (a dialog shown while the main window is hidden);
// `main` when there is none.
WindowHandle UserFacingWindow(DesktopPort& desktop, WindowHandle main);

// "Application is running!" CR CR "Please find and select the running
// window from Taskbar."
std::string ApplicationRunningText();

// The start-up test of a program that runs once: when another instance of
// `programId` runs, its window (found by `caption`, the caller's own) is
// brought to the foreground and to the top, or, when it cannot be found,
// the user is told in an error box. The window brought forward is the one
// the user has (UserFacingWindow), restored when it is minimised. True when another instance runs and
// the caller must end.
bool HandOverToRunningInstance(ProcessPort& process, DesktopPort& desktop,
                               const std::string& programId, WindowHandle own,
                               const std::string& caption);

}  // namespace kv
