// bench_package <package> <rounds>: the unattended removal
// ("KVREMOVE.exe /SILENT", the file remover included) and installation
// ("TouchScreenSetup.exe /S", KVSETUP included) of an installed world, each
// timed from start to exit, with the next start (Wine's restart of the
// world) between them. Prints the median and the spread; changes the world.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "harness/harness.h"

namespace {

// Milliseconds from start to exit, and the exit code.
double TimedRun(const std::string& exe, const std::string& args, DWORD& exitCode) {
    const double start = e2e::NowMs();
    e2e::Process process = e2e::Process::Start(exe, args);
    if (!process.WaitExit(120000)) {
        process.Kill();
        exitCode = ~0u;
        return -1;
    }
    const double ms = e2e::NowMs() - start;
    exitCode = process.ExitCode();
    return ms;
}

void Report(const char* what, std::vector<double> ms) {
    if (ms.empty()) return;
    std::sort(ms.begin(), ms.end());
    std::printf("%-34s median %6.0f ms (%.0f..%.0f over %zu runs)\n", what, e2e::Median(ms), ms.front(),
                ms.back(), ms.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_package <TouchScreenSetup.exe> <rounds>\n");
        return 2;
    }
    const std::string package = argv[1];
    const int rounds = std::max(1, std::atoi(argv[2]));
    std::vector<double> removals, installs;
    for (int i = 0; i < rounds; ++i) {
        DWORD code = 0;
        const double removal = TimedRun("C:\\windows\\KVREMOVE.exe", "/SILENT", code);
        if (code != 3010) {
            std::printf("KVREMOVE.exe /SILENT ended with %lu; stopped\n", code);
            break;
        }
        removals.push_back(removal);
        DWORD bootCode = 0;
        TimedRun("C:\\windows\\system32\\wineboot.exe", "--restart", bootCode);
        const double install = TimedRun(package, "/S", code);
        if (code != 3010) {
            std::printf("TouchScreenSetup.exe /S ended with %lu; stopped\n", code);
            break;
        }
        installs.push_back(install);
    }
    Report("silent removal (KVREMOVE /SILENT)", removals);
    Report("silent install (package /S)", installs);
    return 0;
}
