// kvsim's command line and its output, kept apart from the device so they
// can be tested on their own. Output is plain "key=value" text: one pair
// per line for the state, one line of pairs per log entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/driver/core/kvsim_protocol.h"

namespace kvsim {

enum class Verb {
    Help,
    State,
    Log,
    Touch,
    Down,
    Move,
    Up,
    Stroke,
    SetPort,
    Wiring,
    Rotation,
    Rate,
    Screen,
    Rotator,
    ClearLog,
    Calibration,
};

constexpr std::uint32_t kDefaultTouchMs = 300;
constexpr std::uint32_t kDefaultMsPerPoint = 20;

struct Command {
    Verb verb = Verb::Help;
    std::uint32_t space = KVSIM_SPACE_RAW;
    std::vector<KvSimStrokePoint> points; // touch: one, held; stroke: each held; down/move: one
    std::int32_t value = 0;               // port, wiring, rotation, rate, width, rotator window
    std::int32_t value2 = -1;             // height; rotator rotation (-1: keep)
    std::int32_t cal[7] = {};             // calibration: LeftX CenterX RightX TopY CenterY BottomY flags
    std::uint32_t since = 0;              // log
    bool driverToo = false;               // screen --driver
    bool wait = false;                    // touch, stroke: --wait until the pen lifts
};

// Parses the arguments after the program name. On failure `error` says
// what is wrong, in one line.
bool ParseCommand(const std::vector<std::string>& args, Command& command, std::string& error);

const char* UsageText();

std::string FormatState(const KvSimState& state);
std::string FormatLogEntry(const KvSimLogEntry& entry);
// The request's name ("SetSound"), or its code in hex when it is not one.
std::string RequestName(std::uint32_t code);

}  // namespace kvsim
