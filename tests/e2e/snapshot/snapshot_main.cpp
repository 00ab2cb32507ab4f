// kv_e2e_snapshot <file>: writes the world's files and registry (see
// harness/world_snapshot.h) to <file>, for wine-world.sh to record the
// world before and after the package is installed.
#include <windows.h>

#include <cstdio>

#include "harness/world_snapshot.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kv_e2e_snapshot <file>\n");
        return 2;
    }
    // Wine makes the display's devices in the registry when a session first
    // asks for the screen: done before the walk, they are in every snapshot.
    GetSystemMetrics(SM_CXSCREEN);
    return e2e::SaveSnapshot(argv[1], e2e::TakeSnapshot()) ? 0 : 1;
}
