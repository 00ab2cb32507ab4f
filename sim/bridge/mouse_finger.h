// The mouse as a finger: what kvfinger makes of each mouse event, and where
// it shows the driver's mapped point.
//
// A left press over a window that waits for touches (the calibration
// screen, the draw test's page) is kept from the desktop and becomes a
// touch of the simulated panel at that screen point; moves while it is held
// become the finger's slide, the release its lift. The desktop then sees
// the touch only as the pointer bridge replays it, at the point where the
// driver maps it, which is the whole point of a calibration demo. The
// bridge's own input is recognised by its tag and never moves the finger,
// so the two cannot chase each other. The finger follows the source that
// pressed it: a press of the real mouse follows the real mouse only, one
// made by a program follows that program's input only. (Under Wine on X11
// the display also reports the real pointer, which a program's input does
// not move over a full-screen window, so the two positions may differ.)
// Everything else (presses elsewhere,
// the right and middle buttons, the wheel) stays ordinary mouse input.
//
// Portable: the Win32 program feeds it the low-level mouse hook's events.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/bridge/pointer_bridge.h"

namespace kv::bridge {

struct MouseEvent {
    enum class Kind { Move, LeftDown, LeftUp, Other };
    Kind kind = Kind::Move;
    int x = 0, y = 0;           // screen pixel
    std::uint64_t timeMs = 0;
    bool fromBridge = false;    // carries the bridge's tag
    bool injected = false;      // made by a program (SendInput), not by the mouse
    bool overTouchArea = false; // a window that waits for touches is under the point
};

struct PenAction {
    enum class Kind { Down, Move, Up };
    Kind kind = Kind::Down;
    int x = 0, y = 0;  // screen pixel; not used by Up
    bool operator==(const PenAction&) const = default;
};

struct FingerDecision {
    bool swallow = false;  // keep the event from the desktop
    std::vector<PenAction> pen;
};

class MouseFinger {
public:
    // Wine sometimes repeats the pointer's position as a move of its own,
    // untagged, just after the bridge has moved it: a move to the bridge's
    // latest point this soon after it is that echo, not the person's hand.
    static constexpr std::uint64_t kEchoMs = 50;

    // A click is often shorter than the two reports a calibration waits
    // for; a real fingertip rests longer. A release earlier than this after
    // the press lifts the finger only when this much time has passed.
    static constexpr std::uint64_t kMinTouchMs = 80;

    FingerDecision OnMouse(const MouseEvent& e);

    // When a too-early release is due to lift the finger (0: none pending).
    std::uint64_t LiftDueMs() const { return released_ ? downMs_ + kMinTouchMs : 0; }
    // Lifts the finger when its delayed lift is due; true when it did.
    bool LiftIfDue(std::uint64_t nowMs);
    // The finger is on the panel (its lift may be pending).
    bool Touching() const { return touching_; }

private:
    bool touching_ = false;
    bool released_ = false;  // the button is up, the lift waits for kMinTouchMs
    bool injected_ = false;  // the source that pressed
    bool bridgeSeen_ = false;
    int bridgeX_ = 0, bridgeY_ = 0;  // the bridge's latest point
    std::uint64_t bridgeMs_ = 0;
    std::uint64_t downMs_ = 0;
    int x_ = 0, y_ = 0;
};

// Where the marker of the driver's mapped point stands and whether it shows:
// from each touch until a while after its lift, so that a tap leaves time to
// see where it landed.
struct MarkerView {
    bool visible = false;
    int x = 0, y = 0;  // the driver's mapped pixel
    bool operator==(const MarkerView&) const = default;
};

class MarkerTracker {
public:
    static constexpr std::uint64_t kLingerMs = 1500;

    MarkerView Follow(const DriverSample& s, std::uint64_t nowMs);

private:
    bool started_ = false;
    bool seen_ = false;
    std::uint32_t touches_ = 0;
    std::uint64_t lastHeldMs_ = 0;
};

}  // namespace kv::bridge
