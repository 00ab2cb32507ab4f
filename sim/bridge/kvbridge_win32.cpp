// kvbridge: follows the stand-in KVTOUCH driver and turns its touches into
// real mouse input with SendInput, as the real driver does on Windows.
//
// It has no window and no arguments. One runs per session (a second start
// ends at once); it runs until it is ended. It waits for the driver when
// the driver is not there (yet, or any more).
//
// Polling: every 5 ms while a touch is held (strokes stay smooth), every
// 10 ms otherwise. One poll is one small request, about 0.3 ms under Wine,
// so the bridge costs a few per cent of a core, not a whole one.
#include <windows.h>

#include <vector>

#include "sim/bridge/pointer_bridge.h"
#include "sim/kvsim/kvsim_client.h"

namespace {

constexpr DWORD kHeldPollMs = 5;
constexpr DWORD kIdlePollMs = 10;
constexpr DWORD kNoDriverRetryMs = 500;

void Inject(const std::vector<kv::bridge::InputEvent>& events, const kv::bridge::DriverSample& s) {
    if (events.empty()) return;
    // The driver maps onto the screen it was told about; absolute input is
    // relative to the whole screen, so the same fraction lands on the same
    // place whatever the real size.
    const int width = s.screenWidth >= 2 ? s.screenWidth : GetSystemMetrics(SM_CXSCREEN);
    const int height = s.screenHeight >= 2 ? s.screenHeight : GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> inputs;
    for (const auto& e : events) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = kv::bridge::ToAbsolute(e.x, width);
        in.mi.dy = kv::bridge::ToAbsolute(e.y, height);
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        in.mi.dwExtraInfo = kv::bridge::kBridgeInputTag;
        const bool right = e.button == kv::bridge::Button::Right;
        if (e.kind == kv::bridge::InputEvent::Kind::Down)
            in.mi.dwFlags |= right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
        else if (e.kind == kv::bridge::InputEvent::Kind::Up)
            in.mi.dwFlags |= right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
        inputs.push_back(in);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Two bridges would press every button twice.
    HANDLE single = CreateMutexA(nullptr, TRUE, "KvPointerBridge");
    if (single == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    kvsim::Client sim;
    kv::bridge::PointerBridge bridge;
    kv::bridge::DriverSample last;
    for (;;) {
        if (!sim.IsOpen() && !sim.Open()) {
            Sleep(kNoDriverRetryMs);
            continue;
        }
        KvSimPointer pointer{};
        if (!sim.ReadPointer(pointer)) {
            // The driver went away: let go of any button it was holding.
            Inject(bridge.LetGo(), last);
            sim.Close();
            Sleep(kNoDriverRetryMs);
            continue;
        }
        last = kv::bridge::SampleOf(pointer);
        Inject(bridge.Follow(last), last);
        Sleep(bridge.Pressed() ? kHeldPollMs : kIdlePollMs);
    }
}
