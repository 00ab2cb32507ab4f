#!/usr/bin/env bash
# Runs the end-to-end suite (or the part of it that the arguments select)
# under Wine in the world that wine-world.sh made. The world's wineserver
# is already up, so reading this process's output to its end is safe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cross=${KV_CROSS_BUILD_DIR:-$root/build/cross}
eval "$("$root/scripts/wine-world.sh" env)"
export WINEDEBUG=-all
exec timeout --kill-after=10 280 wine "$cross/bin/kv_e2e.exe" "$@"
