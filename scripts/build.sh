#!/usr/bin/env bash
# Configures and builds both trees: build/native (portable core, unit
# tests, sanitizers) and build/cross (the Win32 programs, the stand-in
# driver, kvsim, the end-to-end tests). "build.sh cross" builds only the
# cross tree, all the demo needs.
set -euo pipefail
what=${1:-all}
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${KV_JOBS:-$(nproc)}

cmake -S "$root" -B "$root/build/cross" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$root/build/cross" -j "$jobs"
[ "$what" = cross ] && exit 0

cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug \
  -DKV_CROSS_BUILD_DIR="$root/build/cross" >/dev/null
cmake --build "$root/build/native" -j "$jobs"
