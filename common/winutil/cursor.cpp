#include "common/winutil/cursor.h"

#include "common/ports/desktop_port.h"

namespace kv {

namespace {
// A count that never moves (a broken platform) must not hang the program;
// no real count is anywhere near this far from 0.
constexpr int kMaxCursorCalls = 1000;
}  // namespace

void HideCursor(DesktopPort& desktop) {
    for (int i = 0; i < kMaxCursorCalls; ++i)
        if (desktop.ShowCursor(false) < 0) return;
}

void RestoreCursor(DesktopPort& desktop) {
    for (int i = 0; i < kMaxCursorCalls; ++i)
        if (desktop.ShowCursor(true) >= 0) return;
}

}  // namespace kv
