#!/usr/bin/env bash
# Runs the end-to-end suite (or the part of it that the arguments select)
# under Wine in the world that wine-world.sh made. The world's wineserver
# is already up, so reading this process's output to its end is safe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cross=${KV_CROSS_BUILD_DIR:-$root/build/cross}
eval "$("$root/scripts/wine-world.sh" env)"
export WINEDEBUG=-all
# A runner that fails within its first second has not run a test: Wine
# could not start it (seen once in a full run, right after the suites that
# restart the world's session). It gets one more start; a test that really
# fails fails again.
start=$(date +%s%N)
status=0
timeout --kill-after=10 280 wine "$cross/bin/kv_e2e.exe" "$@" || status=$?
if [ "$status" -ne 0 ] && [ $(( ($(date +%s%N) - start) / 1000000 )) -lt 1000 ]; then
  echo "run-e2e: the runner ended at once (status $status); starting it again" >&2
  sleep 1
  status=0
  timeout --kill-after=10 280 wine "$cross/bin/kv_e2e.exe" "$@" || status=$?
fi
exit $status
