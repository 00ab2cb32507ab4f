#!/usr/bin/env bash
# The demo itself, once everything is built (see demo.sh): the Wine world
# with the stand-in driver, a simulated touch shown through kvsim, then the
# control panel. On a display the panel is yours to use until you close it;
# without one the demo runs under Xvfb, walks through the main window and
# the settings dialogs, and saves screenshots in build/screenshots.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
shots="$root/build/screenshots"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --unattended
fi
unattended=0
[ "${1:-}" = "--unattended" ] && unattended=1

export KV_DISPLAY=x11 KV_WINEPREFIX="$root/build/wine/demo-prefix"
"$root/scripts/wine-world.sh" up
eval "$("$root/scripts/wine-world.sh" env)"
trap '"$root/scripts/wine-world.sh" down' EXIT

kvsim="$root/build/cross/bin/kvsim.exe"
echo "== The stand-in KVTOUCH driver, as kvsim sees it"
wine "$kvsim" state
echo "== A finger on the panel at raw (512, 384): the controller reports it"
wine "$kvsim" down raw 512 384
sleep 0.3
wine "$kvsim" state | grep -E '^(raw_x|raw_y|pen_down|report_count|mapped_x|mapped_y)='
wine "$kvsim" up

if [ "$unattended" = 1 ]; then
  echo "== The control panel and its dialogs (screenshots)"
  rm -rf "$shots" && mkdir -p "$shots"
  KV_SHOTS_DIR="Z:$(echo "$shots" | tr '/' '\\')" "$root/scripts/run-e2e.sh" \
    --gtest_filter='PanelStart.ShowsTheFourSummariesReadFromTheDriver:PanelDialogs.*:TextFit.*:Agent.Registers*'
  for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
  done
  import -window root "$shots/desktop.png" || true
  ls "$shots"
else
  echo "== The control panel: close it to end the demo"
  wine "C:\\Program Files\\TouchScreen\\KVPANEL.exe"
fi
