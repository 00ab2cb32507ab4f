#!/usr/bin/env bash
# Runs every test: installs what is missing, builds both trees, then one
# CTest run of the native unit tests and the end-to-end tests under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/ensure-deps.sh"
"$root/scripts/build.sh"
cd "$root/build/native"
status=0
ctest -j "$(nproc)" --output-on-failure --timeout 300 || status=$?
# Whatever happened, no Wine session outlives the run.
KV_WINEPREFIX="$root/build/native/wine/prefix" "$root/scripts/wine-world.sh" down || true
KV_WINEPREFIX="$root/build/native/wine144/prefix" "$root/scripts/wine-world.sh" down || true
KV_WINEPREFIX="$root/build/native/winepkg/prefix" "$root/scripts/wine-world.sh" down || true
exit $status
