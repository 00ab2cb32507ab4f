// Round trips per second of the two requests the programs poll or send
// most, GetParams and GetTouchState, from one client process, through the
// programs' own device channel.
#include <windows.h>

#include <cstdio>

#include "common/device/device_channel.h"
#include "win32/ports_win32.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename F>
void Measure(const char* name, int count, F request) {
    for (int i = 0; i < 50; ++i) request();  // warm up
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < count; ++i) request();
    QueryPerformanceCounter(&end);
    const double seconds = Seconds(start, end);
    std::printf("%-14s %6d requests in %.3f s: %7.0f per second, %6.1f us each\n", name, count,
                seconds, count / seconds, seconds * 1e6 / count);
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 3000;
    kv::win32::Win32DevicePort port;
    kv::DeviceChannel channel(port);
    if (!channel.OpenDevice()) {
        std::printf("cannot open the KVTOUCH device\n");
        return 1;
    }
    Measure("GetParams", count, [&] { channel.GetParams(); });
    Measure("GetTouchState", count, [&] { channel.GetTouchState(); });
    channel.CloseDevice();
    return 0;
}
