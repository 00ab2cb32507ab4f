#!/usr/bin/env bash
# Runs the benchmarks under Wine in a world of their own and prints their
# figures, with the sizes of everything the cross tree built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cross=${KV_CROSS_BUILD_DIR:-$root/build/cross}
export KV_WINEPREFIX=${KV_WINEPREFIX:-$root/build/wine/bench-prefix}
echo "== Sizes (stripped)"
for f in "$cross"/bin/*.exe "$cross"/bin/*.sys; do
  printf '%-24s %8d bytes\n' "$(basename "$f")" "$(stat -c %s "$f")"
done
"$root/scripts/wine-world.sh" up
trap '"$root/scripts/wine-world.sh" down' EXIT
eval "$("$root/scripts/wine-world.sh" env)"
echo "== Device round trips"
wine "$cross/bin/bench_device.exe" 3000
echo "== Right-button agent"
wine "$cross/bin/bench_agent.exe" 50 5000
