// The pointer bridge's logic: what mouse input the stand-in driver's state
// stands for. Under Wine a kernel driver cannot inject input, so a small
// user-mode program polls the driver and replays each touch as the real
// driver would report it: the pointer goes where the calibration maps the
// touch, the left button (the right one for a right-button touch) is held
// while the panel is touched and released when the finger lifts.
//
// Portable: the Win32 program turns the events into SendInput calls.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/driver/core/kvsim_protocol.h"

namespace kv::bridge {

// The bridge marks every input it injects with this extra-info value, so
// that a program watching the mouse can tell the bridge's replay of a touch
// from a person's hand on the mouse.
inline constexpr std::uintptr_t kBridgeInputTag = 0x4B564252;  // "KVBR"

// One poll of the driver.
struct DriverSample {
    std::uint32_t touches = 0;  // touches begun so far (wraps)
    bool penDown = false;
    bool rightButton = false;   // the latest touch is a right-button touch
    int x = 0, y = 0;           // mapped pixel of the latest report
    int screenWidth = 0, screenHeight = 0;  // the screen the driver maps onto
};

DriverSample SampleOf(const KvSimPointer& pointer);

enum class Button { Left, Right };

struct InputEvent {
    enum class Kind { Move, Down, Up };
    Kind kind = Kind::Move;
    int x = 0, y = 0;  // pixel on the driver's screen
    Button button = Button::Left;
    bool operator==(const InputEvent&) const = default;
};

class PointerBridge {
public:
    // Touches that began and ended between two polls are replayed as taps
    // at the latest point, up to this many (a double tap).
    static constexpr std::uint32_t kMaxReplayedTaps = 2;

    // The input that brings the desktop from the previous sample to this one.
    std::vector<InputEvent> Follow(const DriverSample& sample);

    // The driver is gone: the held button, if any, is released where the
    // pointer is, and the next sample starts afresh.
    std::vector<InputEvent> LetGo();

    bool Pressed() const { return pressed_; }

private:
    void MoveTo(std::vector<InputEvent>& out, int x, int y);

    bool started_ = false;
    bool pressed_ = false;
    Button held_ = Button::Left;
    std::uint32_t touches_ = 0;
    int x_ = -1, y_ = -1;  // where the injected pointer is
};

// SendInput's absolute coordinate (0..65535) for `pixel` on an axis of
// `pixels` pixels, chosen so that the system's conversion back
// (coordinate * pixels / 65536, rounded down) lands on that very pixel.
int ToAbsolute(int pixel, int pixels);

}  // namespace kv::bridge
