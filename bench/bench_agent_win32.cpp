// The right-button agent's armed wait under Wine against the stand-in
// driver: it arms the agent for a long wait (scripts/bench.sh measures the
// CPU time spent meanwhile), then measures how soon the button is back once
// the driver clears Armed (the driver clears it on the next touch, which
// this program injects).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "harness/harness.h"
#include "sim/kvsim/kvsim_client.h"

namespace {

bool Armed(kvsim::Client& sim) {
    KvSimState state{};
    return sim.ReadState(state) && state.Agent.Armed == 1;
}

}  // namespace

int main(int argc, char** argv) {
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 50;
    const int waitMs = argc > 2 ? std::atoi(argv[2]) : 5000;
    e2e::KillAllNamed("KVRBTN.exe");
    kvsim::Client sim;
    if (!sim.Open()) {
        std::printf("cannot open the KVTOUCH device\n");
        return 1;
    }
    e2e::Process agent = e2e::Process::Start(e2e::InstalledProgram("KVRBTN.exe"));
    HWND window = e2e::WaitForWindow(" P-RBF", agent.Id());
    HWND button = window ? e2e::FindControl(window, "cmdAction") : nullptr;
    if (!button) {
        std::printf("the agent's window did not appear\n");
        return 1;
    }
    // 1. CPU over one long armed wait. Wine does not report another
    // process's times, so scripts/bench.sh reads them from /proc between
    // these two lines.
    PostMessageA(button, BM_CLICK, 0, 0);
    e2e::WaitUntil([&] { return Armed(sim); }, 5000, 1);
    std::printf("armed-wait-begin\n");
    std::fflush(stdout);
    Sleep(waitMs);
    std::printf("armed-wait-end still-armed=%d\n", Armed(sim) ? 1 : 0);
    std::fflush(stdout);
    sim.Touch(KVSIM_SPACE_RAW, 500, 500, 20);
    e2e::WaitUntil([&] { return IsWindowVisible(button) != FALSE; }, 5000, 1);
    sim.WaitUntilLifted(2000);

    // 2. Latency from the driver clearing Armed to the button shown again.
    std::vector<double> latencies;
    for (int i = 0; i < cycles; ++i) {
        PostMessageA(button, BM_CLICK, 0, 0);
        if (!e2e::WaitUntil([&] { return Armed(sim) && !IsWindowVisible(button); }, 5000, 1)) break;
        Sleep(30);
        const double touched = e2e::NowMs();
        sim.PenDown(KVSIM_SPACE_RAW, 400, 400);  // the driver clears Armed here
        while (!IsWindowVisible(button) && e2e::NowMs() - touched < 2000) {
        }
        latencies.push_back(e2e::NowMs() - touched);
        sim.PenUp();
    }
    std::sort(latencies.begin(), latencies.end());
    if (!latencies.empty()) {
        std::printf("button back after the driver cleared Armed, %zu cycles: median %.1f ms, "
                    "min %.1f ms, max %.1f ms\n",
                    latencies.size(), latencies[latencies.size() / 2], latencies.front(),
                    latencies.back());
    }
    PostMessageA(window, WM_USER, 0x100E, 0);
    agent.WaitExit(5000);
    return 0;
}
