#!/usr/bin/env bash
# Runs part of the end-to-end suite on a real X display (Xvfb) in a world
# of its own: what a test reads from the screen's pixels (a drawing on the
# draw test's page) exists only there, not on Wine's null display.
#   run-e2e-x11.sh --gtest_filter=...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${KV_X11_INSIDE:-}" ]; then
  export KV_X11_INSIDE=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
export KV_DISPLAY=x11
export KV_WINEPREFIX=${KV_X11_WINEPREFIX:-$root/build/native/wine/x11-prefix}
"$root/scripts/wine-world.sh" up >/dev/null
status=0
"$root/scripts/run-e2e.sh" "$@" || status=$?
"$root/scripts/wine-world.sh" down
exit $status
