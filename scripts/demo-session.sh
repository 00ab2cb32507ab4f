#!/usr/bin/env bash
# The demo itself, once everything is built (see demo.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
shots="$root/build/screenshots"
mkdir -p "$shots"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

export KV_DISPLAY=x11 KV_WINEPREFIX="$root/build/wine/demo-prefix"
"$root/scripts/wine-world.sh" up
eval "$("$root/scripts/wine-world.sh" env)"
trap '"$root/scripts/wine-world.sh" down' EXIT

kvsim="$root/build/cross/bin/kvsim.exe"
echo "== The stand-in KVTOUCH driver, as kvsim sees it"
wine "$kvsim" state
echo "== A touch on the panel at raw (512, 384)"
wine "$kvsim" touch raw 512 384 100
wine "$kvsim" log

panel="$WINEPREFIX/drive_c/Program Files/TouchScreen/KVPANEL.exe"
if [ -f "$panel" ]; then
  echo "== The control panel"
  wine "$panel" &
  sleep 4
  import -window root "$shots/control-panel.png" && echo "screenshot: $shots/control-panel.png"
  wait || true
fi
