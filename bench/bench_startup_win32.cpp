// Start-up of the programs to their first visible window, against a
// hello-world program built the same way, in the same Wine world:
//
//   bench_startup.exe starts program[:arguments]...
//
// Each program is started `starts` times; a start is timed from
// CreateProcess to the first visible top-level window of the process,
// which is then ended. The hello-world program (beside this one) is the
// yardstick. A program that is not installed is skipped and said so.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "harness/harness.h"

namespace {

// Watches for the first visible top-level window of one process. Each poll
// costs the wineserver, which the starting program needs too: windows seen
// once are not asked about again, so a poll is one enumeration plus a
// question per new window.
class WindowWatch {
public:
    WindowWatch() { EnumWindows(Collect, reinterpret_cast<LPARAM>(&foreign_)); }

    bool Shown(DWORD pid) {
        std::set<HWND> all;
        EnumWindows(Collect, reinterpret_cast<LPARAM>(&all));
        for (HWND window : all) {
            if (foreign_.count(window) != 0) continue;
            if (own_.count(window) == 0) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                (owner == pid ? own_ : foreign_).insert(window);
                if (owner != pid) continue;
            }
            if (IsWindowVisible(window)) return true;
        }
        return false;
    }

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM param) {
        auto* out = reinterpret_cast<std::set<HWND>*>(param);
        out->insert(window);
        return TRUE;
    }
    std::set<HWND> foreign_, own_;
};

std::string BesideThis(const std::string& file) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string self(path);
    return self.substr(0, self.find_last_of('\\')) + "\\" + file;
}

// One start, in ms from CreateProcess to the first visible window;
// negative when no window showed.
double StartMs(const std::string& exe, const std::string& arguments) {
    // The last program's end (the wineserver tearing down its windows and
    // handles) must not weigh on this one's start.
    Sleep(200);
    WindowWatch watch;
    const double t0 = e2e::NowMs();
    e2e::Process process = e2e::Process::Start(exe, arguments);
    if (process.Id() == 0) return -1;
    const bool shown = e2e::WaitUntil([&] { return watch.Shown(process.Id()); }, 20000, 1);
    const double t1 = e2e::NowMs();
    process.Kill();
    process.WaitExit(5000);
    // Whatever the program started (the right-button agent) goes too.
    e2e::KillAllNamed("KVRBTN.exe");
    e2e::AnswerLeftoverBoxes(0);
    return shown ? t1 - t0 : -1;
}

struct Candidate {
    std::string label, exe, arguments;
    std::vector<double> times;
    bool failed = false;
};

}  // namespace

// The starts are interleaved (one of each program per round), so that
// whatever else the machine does meanwhile weighs on all of them alike.
int main(int argc, char** argv) {
    const int starts = argc > 1 ? std::atoi(argv[1]) : 20;
    std::vector<Candidate> candidates{{"hello-world", BesideThis("bench_hello.exe"), "", {}, false}};
    std::vector<std::string> skipped;
    for (int i = 2; i < argc; ++i) {
        std::string program = argv[i], arguments;
        const std::size_t colon = program.find(':');
        if (colon != std::string::npos) {
            arguments = program.substr(colon + 1);
            program = program.substr(0, colon);
        }
        // The uninstaller is installed in the Windows folder.
        std::string exe = e2e::InstalledProgram(program);
        if (GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES)
            exe = "C:\\windows\\" + program;
        const std::string label = program + (arguments.empty() ? "" : " " + arguments);
        if (GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES)
            skipped.push_back(label);
        else
            candidates.push_back({label, exe, arguments, {}, false});
    }
    for (int round = 0; round < starts; ++round)
        for (Candidate& c : candidates) {
            if (c.failed) continue;
            const double ms = StartMs(c.exe, c.arguments);
            if (ms < 0)
                c.failed = true;
            else
                c.times.push_back(ms);
        }

    std::printf("start-up to the first visible window, median of %d starts, interleaved\n", starts);
    const double hello = candidates[0].failed ? -1 : e2e::Median(candidates[0].times);
    std::printf("  %-22s %8.1f ms\n", "hello-world", hello);
    if (hello <= 0) return 1;
    for (std::size_t i = 1; i < candidates.size(); ++i) {
        const Candidate& c = candidates[i];
        if (c.failed) {
            std::printf("  %-22s no visible window\n", c.label.c_str());
            continue;
        }
        const double ms = e2e::Median(c.times);
        std::printf("  %-22s %8.1f ms  %.2f x hello-world\n", c.label.c_str(), ms, ms / hello);
    }
    for (const std::string& label : skipped) std::printf("  %-22s skipped: not built\n", label.c_str());
    return 0;
}
