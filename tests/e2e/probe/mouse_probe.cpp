// Prints the double-click settings as a newly started program gets them.
// Wine keeps each process's own copy of a system parameter once it has read
// it, so a test that wants to see what another program changed asks a fresh
// process.
#include <windows.h>

#include <cstdio>

int main() {
    std::printf("time=%u\nwidth=%d\nheight=%d\n", GetDoubleClickTime(),
                GetSystemMetrics(SM_CXDOUBLECLK), GetSystemMetrics(SM_CYDOUBLECLK));
    return 0;
}
