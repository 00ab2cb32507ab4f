// A logon run's own work, without its one-second pause: KVSTART's start
// procedure in this process on the real ports (title window, double-click
// settings, product key, driver requests, program starts), with a clock on
// which the pause is over at once.
//
//   bench_logon.exe [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "common/ports/clock_port.h"
#include "harness/harness.h"
#include "startup/startup_program.h"
#include "win32/mouse_settings_port_win32.h"
#include "win32/ports_win32.h"
#include "win32/win32_forms.h"

namespace {

// Every reading is a minute later than the one before.
class NoPauseClock : public kv::ClockPort {
public:
    double SecondsSinceMidnight() override { return 0.0; }
    std::uint64_t Milliseconds() override { return now_ += 60000; }
    void WaitForEvents(int) override {}

private:
    std::uint64_t now_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 20;
    kv::win32::Win32FormPlatform forms(GetModuleHandleA(nullptr));
    kv::ui::SetPlatform(&forms);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        kv::win32::Win32DevicePort device;
        kv::win32::Win32RegistryPort registry;
        kv::win32::Win32DesktopPort desktop;
        kv::win32::Win32ProcessPort process;
        kv::win32::Win32MouseSettingsPort mouse;
        NoPauseClock clock;
        kv::startup::StartupProgram program(
            kv::startup::StartupPorts{device, registry, desktop, process, mouse, clock});
        const double t0 = e2e::NowMs();
        program.Start("");
        times.push_back(e2e::NowMs() - t0);
        // The run's companions are not part of its work.
        e2e::KillAllNamed("KVRBTN.exe");
        e2e::KillAllNamed("KVROTATE.exe");
    }
    kv::ui::SetPlatform(nullptr);
    std::printf("logon run without its pause, %d runs: median %.1f ms (min %.1f, max %.1f)\n", runs,
                e2e::Median(times), *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()));
    return 0;
}
