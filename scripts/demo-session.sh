#!/usr/bin/env bash
# The demo itself, once everything is built (see demo.sh): the Wine world
# with the stand-in driver and the pointer bridge (kvbridge, which turns
# simulated touches into real mouse input), a simulated touch shown through
# kvsim, a logon run of the startup agent, then the control panel. On a
# display the panel is yours to use until you close it; without one the demo
# runs under Xvfb, walks through the main window, the settings dialogs, the
# draw test and the startup agent's configuration window, and saves
# screenshots in build/screenshots.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
shots="$root/build/screenshots"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --unattended
fi
unattended=0
[ "${1:-}" = "--unattended" ] && unattended=1

export KV_DISPLAY=x11 KV_WINEPREFIX="$root/build/wine/demo-prefix" KV_WITH_ROTATOR=1
"$root/scripts/wine-world.sh" up
eval "$("$root/scripts/wine-world.sh" env)"
trap '"$root/scripts/wine-world.sh" down' EXIT

# The bridge lives as long as the world; nothing of it may hold our output.
wine "C:\\Program Files\\TouchScreen\\kvbridge.exe" >>"$(dirname "$KV_WINEPREFIX")/bridge.log" 2>&1 &
bridge_pid=$!

kvsim="$root/build/cross/bin/kvsim.exe"
echo "== The stand-in KVTOUCH driver, as kvsim sees it"
wine "$kvsim" state
echo "== A finger on the panel at raw (512, 384): the controller reports it"
wine "$kvsim" down raw 512 384
sleep 0.3
wine "$kvsim" state | grep -E '^(raw_x|raw_y|pen_down|report_count|mapped_x|mapped_y)='
wine "$kvsim" up

echo "== A logon run: KVSTART applies the double-click settings and starts the rotation program"
wine "C:\\Program Files\\TouchScreen\\KVSTART.exe"
wine reg query 'HKCU\Control Panel\Mouse' | grep -i doubleclick || true
wine "$kvsim" state | grep -E '^(rotator_window|screen_width|screen_height)=' || true

if [ "$unattended" = 1 ]; then
  echo "== The control panel and its dialogs (screenshots)"
  rm -rf "$shots" && mkdir -p "$shots"
  # The tests inject touches of their own and start their own bridge.
  kill "$bridge_pid" 2>/dev/null || true
  KV_SHOTS_DIR="Z:$(echo "$shots" | tr '/' '\\')" "$root/scripts/run-e2e.sh" \
    --gtest_filter='PanelStart.ShowsTheFourSummariesReadFromTheDriver:PanelDialogs.*:TextFit.*:Agent.Registers*:DrawTest.SimulatedStroke*:Startup.ConfigurationWindowAppliesAndTestsADoubleClick:FullCalibration.WiredAnyWayOnAStraightDisplay:Uninstaller.YesCloses*'
  for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
  done
  import -window root "$shots/desktop.png" || true
  echo "== The same on a display scaled to 150 % (144 DPI)"
  "$root/scripts/wine-world.sh" down
  (
    export KV_WINEPREFIX="$root/build/wine/demo-prefix-144" KV_DPI=144
    export KV_WINE_TEMPLATE_DIR="$root/build/wine"
    "$root/scripts/wine-world.sh" up
    trap '"$root/scripts/wine-world.sh" down' EXIT
    mkdir -p "$shots/144dpi"
    KV_SHOTS_DIR="Z:$(echo "$shots/144dpi" | tr '/' '\\')" "$root/scripts/run-e2e.sh" \
      --gtest_filter='PanelAt144Dpi.*:CalibrationAt144Dpi.*'
  )
  for bmp in "$shots"/144dpi/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
  done
  ls -R "$shots"
else
  echo "== The control panel: close it to end the demo"
  echo "   Touches move the pointer (kvbridge). The draw test opens with the right button"
  echo "   and Shift+Ctrl+Alt held on \"Exit\"; draw on it from another shell, e.g.:"
  echo "   wine $kvsim stroke screen 200 300 300 320 400 300 500 340 --ms-per-point 30"
  wine "C:\\Program Files\\TouchScreen\\KVPANEL.exe"
fi
