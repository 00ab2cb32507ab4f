// The pointer bridge under Wine against the stand-in driver: how soon the
// real pointer is where a simulated touch lands (touch-down and slide),
// and a stretch of idle and of held touch between marker lines, over
// which scripts/bench.sh reads the bridge's CPU time from /proc.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "harness/harness.h"
#include "sim/kvsim/kvsim_client.h"

namespace {

// Time from `act` until the cursor stands on the driver's mapped point.
double Follow(kvsim::Client& sim, bool (*act)(kvsim::Client&, int, int), int x, int y) {
    const double t0 = e2e::NowMs();
    if (!act(sim, x, y)) return -1;
    KvSimPointer p{};
    if (!sim.ReadPointer(p)) return -1;
    POINT c{};
    while (e2e::NowMs() - t0 < 2000) {
        GetCursorPos(&c);
        if (c.x == p.MappedX && c.y == p.MappedY) return e2e::NowMs() - t0;
    }
    return -1;
}

bool Press(kvsim::Client& sim, int x, int y) { return sim.PenDown(KVSIM_SPACE_SCREEN, x, y); }
bool Slide(kvsim::Client& sim, int x, int y) { return sim.PenMove(KVSIM_SPACE_SCREEN, x, y); }

void Report(const char* what, std::vector<double> ms) {
    int lost = 0;
    ms.erase(std::remove_if(ms.begin(), ms.end(), [&](double v) { return v < 0 && ++lost; }),
             ms.end());
    std::sort(ms.begin(), ms.end());
    if (ms.empty()) {
        std::printf("%s: the pointer never followed\n", what);
        return;
    }
    std::printf("%s, %zu samples: median %.1f ms, 90th %.1f ms, min %.1f ms, max %.1f ms%s\n", what,
                ms.size(), ms[ms.size() / 2], ms[ms.size() * 9 / 10], ms.front(), ms.back(),
                lost ? " (some never followed)" : "");
}

}  // namespace

int main(int argc, char** argv) {
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 100;
    const int stretchMs = argc > 2 ? std::atoi(argv[2]) : 5000;
    e2e::KillAllNamed("kvbridge.exe");
    kvsim::Client sim;
    if (!sim.Open()) {
        std::printf("cannot open the KVTOUCH device\n");
        return 1;
    }
    e2e::Process bridge = e2e::Process::Start(e2e::InstalledProgram("kvbridge.exe"));
    Sleep(500);
    if (!bridge.Running()) {
        std::printf("kvbridge.exe did not start\n");
        return 1;
    }

    std::vector<double> downs, slides;
    srand(7);
    for (int i = 0; i < cycles; ++i) {
        const int x = 50 + rand() % 900, y = 50 + rand() % 650;
        // Off the last point, so that the pointer really has to move.
        Sleep(static_cast<DWORD>(5 + rand() % 20));  // touches land at any phase of the poll
        downs.push_back(Follow(sim, Press, x, y));
        Sleep(static_cast<DWORD>(rand() % 10));
        slides.push_back(Follow(sim, Slide, x + 17, y + 9));
        sim.PenUp();
    }
    Report("pointer on a new touch", downs);
    Report("pointer on a slide of a held touch", slides);

    std::printf("bridge-idle-begin\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(stretchMs));
    std::printf("bridge-idle-end\n");
    std::fflush(stdout);
    sim.PenDown(KVSIM_SPACE_SCREEN, 500, 400);
    std::printf("bridge-held-begin\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(stretchMs));
    std::printf("bridge-held-end\n");
    std::fflush(stdout);
    sim.PenUp();
    bridge.Kill();
    return 0;
}
