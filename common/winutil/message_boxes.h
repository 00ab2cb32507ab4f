// The two standard message boxes of the programs.
#pragma once

#include <string>

namespace kv {

class DesktopPort;

// A beep, then a system-modal box with OK and the stop icon (0x1010).
// Returns the button pressed.
int ErrorBox(DesktopPort& desktop, const std::string& text, const std::string& caption);

// A system-modal Yes/No box with the question icon: `extraFlags` + 4 + 32 +
// 4096 (extra flags pick, for instance, the default button). No beep.
// Returns 6 (Yes) or 7 (No).
int QuestionBox(DesktopPort& desktop, const std::string& text, unsigned extraFlags,
                const std::string& caption);

}  // namespace kv
