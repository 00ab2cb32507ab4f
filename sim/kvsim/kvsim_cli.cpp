#include "sim/kvsim/kvsim_cli.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "sim/driver/core/kvtouch_driver.h"

namespace kvsim {

namespace {

// A whole argument as an integer in [lo, hi]: decimal, or hexadecimal
// after "0x"; a sign is allowed.
bool ParseInt(const std::string& text, long long lo, long long hi, long long& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int base = 10;
    if (text.size() - i > 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    for (std::size_t j = i; j < text.size(); ++j) {
        char c = text[j];
        bool digit = (c >= '0' && c <= '9') ||
                     (base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
        if (!digit) return false;
    }
    errno = 0;
    unsigned long long magnitude = std::strtoull(text.c_str() + i, nullptr, base);
    if (errno == ERANGE || magnitude > (1ull << 40)) return false;
    value = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    return value >= lo && value <= hi;
}

struct Parser {
    const std::vector<std::string>& args;
    std::size_t next;
    std::string& error;

    bool More() const { return next < args.size(); }

    bool Int(const char* what, long long lo, long long hi, std::int32_t& out) {
        if (!More()) {
            error = std::string("missing ") + what;
            return false;
        }
        long long v = 0;
        const std::string& text = args[next++];
        if (!ParseInt(text, lo, hi, v)) {
            error = std::string("bad ") + what + " '" + text + "' (expected " + std::to_string(lo) +
                    ".." + std::to_string(hi) + ")";
            return false;
        }
        out = static_cast<std::int32_t>(v);
        return true;
    }

    bool Space(std::uint32_t& space) {
        if (!More()) {
            error = "missing 'raw' or 'screen'";
            return false;
        }
        const std::string& word = args[next++];
        if (word == "raw") space = KVSIM_SPACE_RAW;
        else if (word == "screen") space = KVSIM_SPACE_SCREEN;
        else {
            error = "expected 'raw' or 'screen', not '" + word + "'";
            return false;
        }
        return true;
    }

    // A coordinate pair of the given space; the driver checks the screen's bounds.
    bool Point(std::uint32_t space, KvSimStrokePoint& p) {
        long long hi = space == KVSIM_SPACE_RAW ? KVSIM_RAW_MAX : 32766;
        std::int32_t x = 0, y = 0;
        if (!Int("x", 0, hi, x) || !Int("y", 0, hi, y)) return false;
        p.X = x;
        p.Y = y;
        p.DurationMs = 0;
        return true;
    }

    bool End() {
        if (More()) {
            error = "unexpected argument '" + args[next] + "'";
            return false;
        }
        return true;
    }
};

struct VerbName {
    const char* name;
    Verb verb;
};

constexpr VerbName kVerbs[] = {
    {"help", Verb::Help},       {"state", Verb::State},       {"log", Verb::Log},
    {"touch", Verb::Touch},     {"down", Verb::Down},         {"move", Verb::Move},
    {"up", Verb::Up},           {"stroke", Verb::Stroke},     {"set-port", Verb::SetPort},
    {"wiring", Verb::Wiring},   {"rotation", Verb::Rotation}, {"rate", Verb::Rate},
    {"screen", Verb::Screen},   {"rotator", Verb::Rotator},   {"clear-log", Verb::ClearLog},
    {"calibration", Verb::Calibration},
};

// Removes a flag from anywhere among the arguments; true when it was there.
bool TakeFlag(std::vector<std::string>& args, const char* flag) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == flag) {
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

}  // namespace

bool ParseCommand(const std::vector<std::string>& input, Command& command, std::string& error) {
    command = Command{};
    std::vector<std::string> args = input;
    if (args.empty() || args[0] == "-h" || args[0] == "--help") {
        command.verb = Verb::Help;
        return true;
    }
    bool found = false;
    for (const auto& v : kVerbs) {
        if (args[0] == v.name) {
            command.verb = v.verb;
            found = true;
        }
    }
    if (!found) {
        error = "unknown command '" + args[0] + "'";
        return false;
    }

    // Options, taken out first so they may stand anywhere after the command.
    std::int32_t msPerPoint = kDefaultMsPerPoint;
    bool wantsWait = TakeFlag(args, "--wait");
    bool wantsDriver = TakeFlag(args, "--driver");
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] != "--ms-per-point") continue;
        if (command.verb != Verb::Stroke) {
            error = "--ms-per-point is an option of stroke";
            return false;
        }
        Parser p{args, i + 1, error};
        if (!p.Int("--ms-per-point value", 0, 600000, msPerPoint)) return false;
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        break;
    }
    if (wantsWait && command.verb != Verb::Touch && command.verb != Verb::Stroke) {
        error = "--wait is an option of touch and stroke";
        return false;
    }
    if (wantsDriver && command.verb != Verb::Screen) {
        error = "--driver is an option of screen";
        return false;
    }
    command.wait = wantsWait;
    command.driverToo = wantsDriver;

    Parser p{args, 1, error};
    switch (command.verb) {
    case Verb::Help:
    case Verb::State:
    case Verb::Up:
    case Verb::ClearLog:
        return p.End();
    case Verb::Log: {
        std::int32_t since = 0;
        if (p.More() && !p.Int("sequence number", 0, 0x7FFFFFFF, since)) return false;
        command.since = static_cast<std::uint32_t>(since);
        return p.End();
    }
    case Verb::Touch: {
        KvSimStrokePoint point{};
        if (!p.Space(command.space) || !p.Point(command.space, point)) return false;
        std::int32_t ms = kDefaultTouchMs;
        if (p.More() && !p.Int("hold time in ms", 0, 600000, ms)) return false;
        point.DurationMs = static_cast<std::uint32_t>(ms);
        command.points.push_back(point);
        return p.End();
    }
    case Verb::Down:
    case Verb::Move: {
        KvSimStrokePoint point{};
        if (!p.Space(command.space) || !p.Point(command.space, point)) return false;
        command.points.push_back(point);
        return p.End();
    }
    case Verb::Stroke: {
        if (!p.Space(command.space)) return false;
        while (p.More()) {
            KvSimStrokePoint point{};
            if (!p.Point(command.space, point)) return false;
            point.DurationMs = static_cast<std::uint32_t>(msPerPoint);
            command.points.push_back(point);
        }
        if (command.points.empty()) {
            error = "a stroke needs at least one point";
            return false;
        }
        if (command.points.size() > KVSIM_MAX_STROKE_POINTS) {
            error = "a stroke holds at most " + std::to_string(KVSIM_MAX_STROKE_POINTS) + " points";
            return false;
        }
        return true;
    }
    case Verb::SetPort:
        return p.Int("port", 0, 255, command.value) && p.End();
    case Verb::Wiring:
        return p.Int("wiring flags", 0, 7, command.value) && p.End();
    case Verb::Rotation:
        return p.Int("rotation", 0, 3, command.value) && p.End();
    case Verb::Rate:
        return p.Int("report rate", 0, KVSIM_MAX_RATE, command.value) && p.End();
    case Verb::Screen:
        return p.Int("width", 2, 32767, command.value) && p.Int("height", 2, 32767, command.value2) &&
               p.End();
    case Verb::Rotator:
        if (p.More() && args[p.next] == "none") {
            ++p.next;
            command.value = -1;
        } else if (!p.Int("window handle", -0x80000000ll, 0xFFFFFFFFll, command.value)) {
            return false;  // the cast above keeps a sign-extended handle's low 32 bits
        }
        command.value2 = -1;
        if (p.More() && !p.Int("rotation", 0, 3, command.value2)) return false;
        return p.End();
    case Verb::Calibration: {
        static const char* const kNames[7] = {"LeftX", "CenterX", "RightX", "TopY",
                                              "CenterY", "BottomY", "flags"};
        for (int i = 0; i < 6; ++i)
            if (!p.Int(kNames[i], 0, KVSIM_RAW_MAX, command.cal[i])) return false;
        return p.Int(kNames[6], 0, 7, command.cal[6]) && p.End();
    }
    }
    return false;
}

const char* UsageText() {
    return "usage: kvsim COMMAND [ARGS]\n"
           "Controls the stand-in KVTOUCH driver (\\\\.\\KVTOUCH).\n"
           "\n"
           "  state                          the driver's whole state, key=value\n"
           "  log [SINCE]                    logged events from sequence SINCE on\n"
           "  touch raw|screen X Y [MS]      tap: down, hold MS (default 300), up\n"
           "  down raw|screen X Y            put the pen down and keep it there\n"
           "  move raw|screen X Y            slide the pen (it must be down)\n"
           "  up                             lift the pen\n"
           "  stroke raw|screen X1 Y1 [X2 Y2 ...] [--ms-per-point N]\n"
           "                                 one touch through the points (default 20 ms each)\n"
           "  set-port N                     DetectedPort (0: no controller)\n"
           "  wiring FLAGS                   panel wiring: 1 mirrored X, 2 mirrored Y, 4 swapped\n"
           "  rotation N                     display rotation 0..3\n"
           "  rate N                         reports per second while touched (0..1000)\n"
           "  screen W H [--driver]          simulated display size (--driver: also the\n"
           "                                 driver's ScreenWidth/ScreenHeight)\n"
           "  rotator HWND|none [ROTATION]   register or unregister the rotation program\n"
           "  clear-log                      forget the logged events\n"
           "  calibration LX CX RX TY CY BY FLAGS\n"
           "                                 the driver's calibration record and CalFlags,\n"
           "                                 sent as the control panel sends them\n"
           "  help                           this text\n"
           "\n"
           "touch and stroke return at once; the driver plays them by its clock\n"
           "(--wait: return when the pen has lifted). Raw X, Y are 0..1023; screen\n"
           "points are pixels of the simulated display.\n";
}

namespace {

struct Out {
    std::string text;
    void Line(const char* key, long long value) {
        text += key;
        text += '=';
        text += std::to_string(value);
        text += '\n';
    }
    void Line(const char* key, const std::string& value) {
        text += key;
        text += '=';
        text += value;
        text += '\n';
    }
};

std::string Hex(unsigned value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%0*X", digits, value);
    return buffer;
}

}  // namespace

std::string RequestName(std::uint32_t code) {
    switch (code) {
    case KV_IOCTL_GET_PARAMS: return "GetParams";
    case KV_IOCTL_GET_TOUCH_STATE: return "GetTouchState";
    case KV_IOCTL_CALIBRATION_SIGNAL: return "CalibrationSignal";
    case KV_IOCTL_SET_TOUCH_MODE: return "SetTouchMode";
    case KV_IOCTL_SET_SOUND: return "SetSound";
    case KV_IOCTL_SET_MOUSE_SPEED: return "SetMouseSpeed";
    case KV_IOCTL_SET_CALIBRATION: return "SetCalibration";
    case KV_IOCTL_SET_SCREEN_SIZE: return "SetScreenSize";
    case KV_IOCTL_GET_AGENT_WINDOW: return "GetAgentWindow";
    case KV_IOCTL_SET_AGENT_WINDOW: return "SetAgentWindow";
    case KV_IOCTL_GET_ROTATOR_WINDOW: return "GetRotatorWindow";
    case KV_IOCTL_SOUND_TEST: return "SoundTest";
    default: return Hex(code, 5);
    }
}

std::string FormatState(const KvSimState& s) {
    static const std::uint32_t kCodes[KVSIM_REQ_COUNT] = {
        KV_IOCTL_GET_PARAMS,       KV_IOCTL_GET_TOUCH_STATE,  KV_IOCTL_CALIBRATION_SIGNAL,
        KV_IOCTL_SET_TOUCH_MODE,   KV_IOCTL_SET_SOUND,        KV_IOCTL_SET_MOUSE_SPEED,
        KV_IOCTL_SET_CALIBRATION,  KV_IOCTL_SET_SCREEN_SIZE,  KV_IOCTL_GET_AGENT_WINDOW,
        KV_IOCTL_SET_AGENT_WINDOW, KV_IOCTL_GET_ROTATOR_WINDOW, KV_IOCTL_SOUND_TEST,
    };
    const TouchParams& p = s.Params;
    Out o;
    o.Line("driver_ms", s.NowMs);
    o.Line("detected_port", p.DetectedPort);
    std::string ports;
    for (int i = 0; i < 9; ++i) {
        if (i) ports += ',';
        ports += Hex(p.ComPorts[i].BasePort, 3) + "/" + std::to_string(p.ComPorts[i].Irq);
    }
    o.Line("com_ports", ports);
    o.Line("touch_mode", p.TouchMode);
    o.Line("sound_mode", p.SoundMode);
    o.Line("sound_tone", p.SoundTone);
    o.Line("sound_duration", p.SoundDuration);
    o.Line("sensitivity", p.Sensitivity);
    o.Line("bypass", p.Bypass);
    o.Line("mouse_hspeed", p.MouseHSpeed);
    o.Line("mouse_vspeed", p.MouseVSpeed);
    o.Line("acceleration", p.Acceleration);
    o.Line("sleep_time", p.SleepTime);
    o.Line("rb_function", p.RBFunction);
    o.Line("rb_auto_mode", p.RBAutoMode);
    o.Line("rb_auto_stime", p.RBAutoSTime);
    o.Line("rb_auto_etime", p.RBAutoETime);
    o.Line("rb_auto_beep", p.RBAutoBeep);
    o.Line("cal_data", std::to_string(p.Cal.LeftX) + "," + std::to_string(p.Cal.CenterX) + "," +
                           std::to_string(p.Cal.RightX) + "," + std::to_string(p.Cal.TopY) + "," +
                           std::to_string(p.Cal.CenterY) + "," + std::to_string(p.Cal.BottomY));
    o.Line("cal_flags", p.CalFlags);
    o.Line("screen_width", p.ScreenWidth);
    o.Line("screen_height", p.ScreenHeight);
    o.Line("mcu_mode", p.McuMode);
    o.Line("mcu_version", Hex(p.McuVersion, 2));
    o.Line("mcu_code", Hex(p.McuCode[0], 2) + "," + Hex(p.McuCode[1], 2) + "," +
                           Hex(p.McuCode[2], 2) + "," + Hex(p.McuCode[3], 2));
    o.Line("raw_x", s.Touch.X);
    o.Line("raw_y", s.Touch.Y);
    o.Line("pen_down", (s.Touch.Status & KV_STATUS_PEN_DOWN) ? 1 : 0);
    o.Line("report_count", s.Touch.ReportCount);
    o.Line("reports_total", s.ReportsTotal);
    o.Line("touch_playing", s.TouchPlaying);
    o.Line("play_ends_ms", s.PlayEndsMs);
    o.Line("touch_screen_x", s.TouchScreenX);
    o.Line("touch_screen_y", s.TouchScreenY);
    o.Line("mapped_x", s.MappedX);
    o.Line("mapped_y", s.MappedY);
    o.Line("agent_window", s.Agent.AgentWindow);
    o.Line("armed", s.Agent.Armed);
    o.Line("rotator_window", s.Rotator.RotatorWindow);
    o.Line("rotation", s.Rotator.Rotation);
    o.Line("wiring", s.Wiring);
    o.Line("report_rate", s.ReportRate);
    o.Line("sim_screen_width", s.SimScreenWidth);
    o.Line("sim_screen_height", s.SimScreenHeight);
    for (int i = 0; i < KVSIM_REQ_COUNT; ++i) {
        std::string key = "requests." + RequestName(kCodes[i]);
        o.Line(key.c_str(), s.RequestCounts[i]);
    }
    o.Line("failed_requests", s.FailedRequests);
    o.Line("right_button_touches", s.RightButtonTouches);
    o.Line("log_next", s.LogNextSequence);
    return o.text;
}

std::string FormatLogEntry(const KvSimLogEntry& e) {
    std::string line = "seq=" + std::to_string(e.Sequence) + " ms=" + std::to_string(e.TimeMs);
    auto pairs = [&](std::initializer_list<const char*> names) {
        int i = 0;
        for (const char* name : names) {
            if (name) line += std::string(" ") + name + "=" + std::to_string(e.Args[i]);
            ++i;
        }
    };
    switch (e.Kind) {
    case KVSIM_LOG_SET_REQUEST:
        line += " event=" + RequestName(e.Code);
        switch (e.Code) {
        case KV_IOCTL_SET_TOUCH_MODE:
            pairs({"touch_mode", "rb_function", "rb_auto_mode", "rb_auto_stime", "rb_auto_etime",
                   "rb_auto_beep", nullptr, "untouched_intact"});
            break;
        case KV_IOCTL_SET_SOUND:
            pairs({"sound_mode", "tone", "duration", nullptr, nullptr, nullptr, nullptr,
                   "untouched_intact"});
            break;
        case KV_IOCTL_SET_MOUSE_SPEED:
            pairs({"bypass", "hspeed", "vspeed", "acceleration", nullptr, nullptr, nullptr,
                   "untouched_intact"});
            break;
        case KV_IOCTL_SET_CALIBRATION:
            pairs({"left_x", "center_x", "right_x", "top_y", "center_y", "bottom_y", "cal_flags",
                   "untouched_intact"});
            break;
        case KV_IOCTL_SET_SCREEN_SIZE:
            pairs({"width", "height", nullptr, nullptr, nullptr, nullptr, nullptr,
                   "untouched_intact"});
            break;
        case KV_IOCTL_SET_AGENT_WINDOW:
            pairs({"agent_window", "armed", "reserved6", "reserved7"});
            break;
        default:
            break;
        }
        break;
    case KVSIM_LOG_CALIBRATION_SIGNAL:
        line += " event=CalibrationSignal";
        pairs({"code"});
        break;
    case KVSIM_LOG_SOUND_TEST:
        line += " event=SoundTest";
        pairs({"tone", "duration"});
        break;
    case KVSIM_LOG_RIGHT_BUTTON:
        line += " event=RightButtonTouch";
        pairs({"raw_x", "raw_y", "mapped_x", "mapped_y", "agent_window"});
        break;
    case KVSIM_LOG_ROTATOR:
        line += " event=Rotator";
        pairs({"rotator_window", "rotation"});
        break;
    case KVSIM_LOG_INITIAL_SETTING:
        line += " event=InitialSetting name=";
        line += e.Code < KVD_SETTING_COUNT ? kvd_setting_names[e.Code] : std::to_string(e.Code);
        pairs({"accepted", "type", "length"});
        break;
    default:
        line += " event=" + std::to_string(e.Kind) + " code=" + Hex(e.Code, 1);
        pairs({"a0", "a1", "a2", "a3", "a4", "a5", "a6", "a7"});
        break;
    }
    return line;
}

}  // namespace kvsim
