#include "sim/bridge/pointer_bridge.h"

#include <algorithm>
#include <cstdint>

namespace kv::bridge {

DriverSample SampleOf(const KvSimPointer& p) {
    DriverSample s;
    s.touches = p.Touches;
    s.penDown = p.PenDown != 0;
    s.rightButton = p.RightButton != 0;
    s.x = p.MappedX;
    s.y = p.MappedY;
    s.screenWidth = p.ScreenWidth;
    s.screenHeight = p.ScreenHeight;
    return s;
}

void PointerBridge::MoveTo(std::vector<InputEvent>& out, int x, int y) {
    if (x == x_ && y == y_) return;
    x_ = x;
    y_ = y;
    out.push_back({InputEvent::Kind::Move, x, y, Button::Left});
}

std::vector<InputEvent> PointerBridge::Follow(const DriverSample& s) {
    std::vector<InputEvent> out;
    const Button button = s.rightButton ? Button::Right : Button::Left;
    if (!started_) {
        // Touches before the bridge started are none of its business; one
        // in progress is pressed from here on.
        started_ = true;
        touches_ = s.touches;
        if (s.penDown) {
            held_ = button;
            MoveTo(out, s.x, s.y);
            out.push_back({InputEvent::Kind::Down, s.x, s.y, held_});
            pressed_ = true;
        }
        return out;
    }

    const std::uint32_t began = s.touches - touches_;  // modulo 2^32, as the counter wraps
    touches_ = s.touches;

    // The held touch ended: lifted, or replaced by a new touch. It ends
    // where the latest report of that touch was, which is the current
    // point only when no new touch began.
    if (pressed_ && (began > 0 || !s.penDown)) {
        if (began == 0) MoveTo(out, s.x, s.y);
        out.push_back({InputEvent::Kind::Up, x_, y_, held_});
        pressed_ = false;
    }

    // Whole touches that fell between two polls.
    const std::uint32_t missed = began - (s.penDown && began > 0 ? 1u : 0u);
    for (std::uint32_t i = 0; i < std::min(missed, kMaxReplayedTaps); ++i) {
        held_ = button;
        MoveTo(out, s.x, s.y);
        out.push_back({InputEvent::Kind::Down, s.x, s.y, held_});
        out.push_back({InputEvent::Kind::Up, s.x, s.y, held_});
    }

    if (s.penDown && !pressed_) {
        held_ = button;
        MoveTo(out, s.x, s.y);
        out.push_back({InputEvent::Kind::Down, s.x, s.y, held_});
        pressed_ = true;
    } else if (s.penDown) {
        MoveTo(out, s.x, s.y);
    }
    return out;
}

std::vector<InputEvent> PointerBridge::LetGo() {
    std::vector<InputEvent> out;
    if (pressed_) out.push_back({InputEvent::Kind::Up, x_, y_, held_});
    *this = PointerBridge();
    return out;
}

int ToAbsolute(int pixel, int pixels) {
    if (pixels < 2) return 0;
    const std::int64_t last = pixels - 1;
    const std::int64_t p = std::clamp<std::int64_t>(pixel, 0, last);
    // Rounded up: rounding down (or to nearest) can land one pixel short.
    return static_cast<int>((p * 65535 + last - 1) / last);
}

}  // namespace kv::bridge
