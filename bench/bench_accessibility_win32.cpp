// A screen reader's full read of the control panel's main window, from
// this process:
//
//   bench_accessibility.exe [reads]
//
// A read is AccessibleObjectFromWindow, the children (AccessibleChildren),
// and for each child what a reader says of it: name, role, state and
// place; a second figure adds each child's value and default action. Every
// call crosses to KVPANEL and is answered on its thread, so the cost of
// one call that does no work is shown too. The first read (the program
// loading the accessibility libraries and making its first object) is
// shown apart.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "harness/accessible_reader.h"
#include "harness/harness.h"

namespace {

constexpr const char* kPanelCaption = " TouchScreen Control Panel #KV-PS2";


// One read; the number of calls it made (0: no object).
int Read(HWND window, bool everything) {
    e2e::AccessibleWindow reader(window);
    if (!reader.Valid()) return 0;
    IAccessible* a = reader.Object();
    const std::vector<long> ids = reader.ChildIds();
    int calls = 2 + 4;  // the object, the count; AccessibleChildren's own four
    for (long id : ids) {
        const VARIANT child = e2e::ChildVariant(id);
        BSTR text = nullptr;
        a->get_accName(child, &text);
        SysFreeString(text);
        VARIANT out;
        VariantInit(&out);
        a->get_accRole(child, &out);
        a->get_accState(child, &out);
        long x = 0, y = 0, w = 0, h = 0;
        a->accLocation(&x, &y, &w, &h, child);
        calls += 4;
        if (!everything) continue;
        text = nullptr;
        a->get_accValue(child, &text);
        SysFreeString(text);
        text = nullptr;
        a->get_accDefaultAction(child, &text);
        SysFreeString(text);
        calls += 2;
    }
    return calls;
}

struct Figures {
    double median = 0, slowest = 0;
    int calls = 0;
};

Figures Measure(HWND window, bool everything, int reads) {
    Figures f;
    std::vector<double> times;
    for (int i = 0; i < reads; ++i) {
        const double t0 = e2e::NowMs();
        f.calls = Read(window, everything);
        const double ms = e2e::NowMs() - t0;
        times.push_back(ms);
        if (ms > f.slowest) f.slowest = ms;
    }
    f.median = e2e::Median(times);
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    const int reads = argc > 1 ? std::atoi(argv[1]) : 50;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    e2e::KillAllNamed("KVPANEL.exe");
    e2e::Process panel = e2e::Process::Start(e2e::InstalledProgram("KVPANEL.exe"));
    HWND main = e2e::WaitForWindow(kPanelCaption, panel.Id());
    if (main == nullptr || !e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; })) {
        std::printf("the control panel's main window did not show\n");
        return 1;
    }
    Sleep(300);  // let its start-up settle

    const double t0 = e2e::NowMs();
    const int firstCalls = Read(main, false);
    const double first = e2e::NowMs() - t0;
    if (firstCalls == 0) {
        std::printf("the main window gave no accessible object\n");
        return 1;
    }
    const Figures said = Measure(main, false, reads);
    const Figures all = Measure(main, true, reads);

    e2e::AccessibleWindow reader(main);
    std::vector<double> calls;
    for (int i = 0; i < 200; ++i) {
        long count = 0;
        const double c0 = e2e::NowMs();
        reader.Object()->get_accChildCount(&count);
        calls.push_back(e2e::NowMs() - c0);
    }

    // The yardstick for a crossing: a message the window answers at once.
    std::vector<double> sends;
    for (int i = 0; i < 200; ++i) {
        const double c0 = e2e::NowMs();
        SendMessageA(main, WM_NULL, 0, 0);
        sends.push_back(e2e::NowMs() - c0);
    }

    std::printf("a screen reader's read of the main window's tree (%d children) from another process\n",
                static_cast<int>(reader.ChildIds().size()));
    std::printf("  first read (name, role, state, place)   %7.1f ms\n", first);
    std::printf("  name, role, state, place: median of %d  %7.1f ms (slowest %.1f ms, %d calls)\n", reads,
                said.median, said.slowest, said.calls);
    std::printf("  and value, default action: median of %d %7.1f ms (slowest %.1f ms, %d calls)\n", reads,
                all.median, all.slowest, all.calls);
    std::printf("  one call that does no work (child count), median of 200: %.3f ms\n", e2e::Median(calls));
    std::printf("  one WM_NULL sent to the window, median of 200: %.3f ms\n", e2e::Median(sends));
    panel.Kill();
    panel.WaitExit(5000);
    e2e::KillAllNamed("KVRBTN.exe");
    CoUninitialize();
    return 0;
}
