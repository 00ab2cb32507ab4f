// Hiding and restoring the mouse pointer. The platform keeps a display
// count (shown while 0 or more); these loop until it is on the right side.
#pragma once

namespace kv {

class DesktopPort;

// Calls ShowCursor(false) until the count is below 0.
void HideCursor(DesktopPort& desktop);
// Calls ShowCursor(true) until the count is 0 or more.
void RestoreCursor(DesktopPort& desktop);

}  // namespace kv
