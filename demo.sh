#!/usr/bin/env bash
# Runs the system: builds it, makes the Wine world with the stand-in driver
# and a simulated controller, and shows the driver's state. On a machine
# with a display the programs appear on it; without one they run under
# Xvfb and screenshots are saved in build/screenshots.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/ensure-deps.sh"
"$root/scripts/build.sh" cross
# "demo.sh install": an install and a removal on a world of their own.
if [ "${1:-}" = install ]; then
  exec "$root/scripts/demo-install.sh"
fi
exec "$root/scripts/demo-session.sh"
