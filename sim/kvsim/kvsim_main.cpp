// kvsim: controls the stand-in KVTOUCH driver from a console.
// Exit status: 0 done, 1 the driver refused the request, 2 bad arguments,
// 3 the device cannot be opened.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "sim/kvsim/kvsim_cli.h"
#include "sim/kvsim/kvsim_client.h"

namespace {

constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNoDevice = 3;

int Refused(const kvsim::Client& client, const char* what) {
    std::fprintf(stderr, "kvsim: %s failed: %s\n", what,
                 kvsim::DescribeError(client.LastError()).c_str());
    return kExitRefused;
}

int ShowState(kvsim::Client& client) {
    KvSimState state;
    if (!client.ReadState(state)) return Refused(client, "reading the state");
    std::fputs(kvsim::FormatState(state).c_str(), stdout);
    return 0;
}

int ShowLog(kvsim::Client& client, std::uint32_t since) {
    std::vector<KvSimLogEntry> entries;
    KvSimLogHeader header{};
    if (!client.ReadLog(since, entries, &header)) return Refused(client, "reading the log");
    for (const auto& e : entries) std::printf("%s\n", kvsim::FormatLogEntry(e).c_str());
    std::printf("next=%u\n", header.NextSequence);
    return 0;
}

// After a touch or stroke: when the driver lifts the pen.
int ReportPlay(kvsim::Client& client, bool wait) {
    KvSimState state;
    if (!client.ReadState(state)) return Refused(client, "reading the state");
    std::printf("ends_ms=%u\n", state.PlayEndsMs);
    if (wait && state.TouchPlaying) {
        DWORD left = state.PlayEndsMs > state.NowMs ? state.PlayEndsMs - state.NowMs : 0;
        if (!client.WaitUntilLifted(left + 2000)) return Refused(client, "waiting for the lift");
    }
    return 0;
}

int Run(const kvsim::Command& c) {
    kvsim::Client client;
    if (!client.Open()) {
        std::fprintf(stderr, "kvsim: cannot open %s: %s\n", KVTOUCH_DEVICE_PATH,
                     kvsim::DescribeError(client.LastError()).c_str());
        return kExitNoDevice;
    }
    using kvsim::Verb;
    switch (c.verb) {
    case Verb::Help:
        return 0;
    case Verb::State:
        return ShowState(client);
    case Verb::Log:
        return ShowLog(client, c.since);
    case Verb::Touch:
    case Verb::Stroke:
        if (!client.Stroke(c.space, c.points)) return Refused(client, "the touch");
        return ReportPlay(client, c.wait);
    case Verb::Down:
        return client.PenDown(c.space, c.points[0].X, c.points[0].Y) ? 0
                                                                       : Refused(client, "pen down");
    case Verb::Move:
        return client.PenMove(c.space, c.points[0].X, c.points[0].Y) ? 0
                                                                       : Refused(client, "pen move");
    case Verb::Up:
        return client.PenUp() ? 0 : Refused(client, "pen up");
    case Verb::SetPort:
        return client.SetDetectedPort(c.value) ? 0 : Refused(client, "set-port");
    case Verb::Wiring:
        return client.SetWiring(c.value) ? 0 : Refused(client, "wiring");
    case Verb::Rotation:
        return client.SetRotation(c.value) ? 0 : Refused(client, "rotation");
    case Verb::Rate:
        return client.SetRate(c.value) ? 0 : Refused(client, "rate");
    case Verb::Screen:
        return client.SetScreen(c.value, c.value2, c.driverToo) ? 0 : Refused(client, "screen");
    case Verb::Rotator:
        return client.RegisterRotator(c.value, c.value2) ? 0 : Refused(client, "rotator");
    case Verb::ClearLog:
        return client.ClearLog() ? 0 : Refused(client, "clear-log");
    case Verb::Calibration: {
        const CalData cal{static_cast<std::int16_t>(c.cal[0]), static_cast<std::int16_t>(c.cal[1]),
                          static_cast<std::int16_t>(c.cal[2]), static_cast<std::int16_t>(c.cal[3]),
                          static_cast<std::int16_t>(c.cal[4]), static_cast<std::int16_t>(c.cal[5])};
        return client.SetCalibration(cal, static_cast<std::uint8_t>(c.cal[6]))
                   ? 0
                   : Refused(client, "calibration");
    }
    }
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    kvsim::Command command;
    std::string error;
    if (!kvsim::ParseCommand(args, command, error)) {
        std::fprintf(stderr, "kvsim: %s (kvsim help lists the commands)\n", error.c_str());
        return kExitUsage;
    }
    if (command.verb == kvsim::Verb::Help) {
        std::fputs(kvsim::UsageText(), stdout);
        return 0;
    }
    return Run(command);
}
