// The two standard message boxes of the programs.
#pragma once

#include <cstdint>
#include <string>

namespace kv {

class DesktopPort;

// The window a box belongs to: while the box is up the system disables
// it, so it takes no input and cannot be closed, and the box stays above
// it. 0 = none.
using BoxOwner = std::intptr_t;

// A beep, then a system-modal box with OK and the stop icon (0x1010).
// Returns the button pressed.
int ErrorBox(DesktopPort& desktop, const std::string& text, const std::string& caption,
             BoxOwner owner = 0);

// A system-modal Yes/No box with the question icon: `extraFlags` + 4 + 32 +
// 4096 (extra flags pick, for instance, the default button). No beep.
// Returns 6 (Yes) or 7 (No).
int QuestionBox(DesktopPort& desktop, const std::string& text, unsigned extraFlags,
                const std::string& caption, BoxOwner owner = 0);

}  // namespace kv
