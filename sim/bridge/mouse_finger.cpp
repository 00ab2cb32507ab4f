#include "sim/bridge/mouse_finger.h"

namespace kv::bridge {

FingerDecision MouseFinger::OnMouse(const MouseEvent& e) {
    FingerDecision d;
    if (e.fromBridge) {
        bridgeSeen_ = true;
        bridgeX_ = e.x;
        bridgeY_ = e.y;
        bridgeMs_ = e.timeMs;
        return d;
    }
    if (e.kind == MouseEvent::Kind::Other) return d;

    switch (e.kind) {
    case MouseEvent::Kind::LeftDown:
        if (touching_ && !released_) {
            d.swallow = true;  // a press the held finger already stands for
            return d;
        }
        if (!e.overTouchArea) {
            // The finger's delayed lift is not held up by a click elsewhere.
            if (touching_) {
                touching_ = released_ = false;
                d.pen.push_back({PenAction::Kind::Up});
            }
            return d;
        }
        if (touching_) d.pen.push_back({PenAction::Kind::Up});  // the pending lift first
        touching_ = true;
        released_ = false;
        injected_ = e.injected;
        downMs_ = e.timeMs;
        x_ = e.x;
        y_ = e.y;
        d.swallow = true;
        d.pen.push_back({PenAction::Kind::Down, e.x, e.y});
        return d;

    case MouseEvent::Kind::Move: {
        if (!touching_) return d;
        // While the finger is down the desktop's pointer is the bridge's:
        // a move of the mouse reaching the window would draw to it too.
        d.swallow = true;
        const bool echo = bridgeSeen_ && e.x == bridgeX_ && e.y == bridgeY_ &&
                          e.timeMs - bridgeMs_ <= kEchoMs;
        if (!released_ && !echo && e.injected == injected_ && (e.x != x_ || e.y != y_)) {
            x_ = e.x;
            y_ = e.y;
            d.pen.push_back({PenAction::Kind::Move, e.x, e.y});
        }
        return d;
    }

    case MouseEvent::Kind::LeftUp:
        if (!touching_) return d;
        d.swallow = true;
        if (released_) return d;
        if (e.timeMs >= downMs_ + kMinTouchMs) {
            touching_ = false;
            d.pen.push_back({PenAction::Kind::Up});
        } else {
            released_ = true;
        }
        return d;

    case MouseEvent::Kind::Other:
        break;
    }
    return d;
}

bool MouseFinger::LiftIfDue(std::uint64_t nowMs) {
    if (!released_ || nowMs < downMs_ + kMinTouchMs) return false;
    touching_ = false;
    released_ = false;
    return true;
}

MarkerView MarkerTracker::Follow(const DriverSample& s, std::uint64_t nowMs) {
    // A touch that began and ended between two polls still shows where it
    // landed; touches from before the first poll do not.
    const bool newTouch = started_ && s.touches != touches_;
    started_ = true;
    touches_ = s.touches;
    if (s.penDown || newTouch) {
        seen_ = true;
        lastHeldMs_ = nowMs;
    }
    MarkerView v;
    v.visible = seen_ && nowMs - lastHeldMs_ <= kLingerMs;
    v.x = s.x;
    v.y = s.y;
    return v;
}

}  // namespace kv::bridge
