#!/usr/bin/env bash
# The demo itself, once everything is built (see demo.sh): the Wine world
# with the stand-in driver, the pointer bridge (kvbridge, which turns
# simulated touches into real mouse input) and kvfinger (the mouse as a
# finger, with a ring where the driver puts each touch), on a simulated
# panel that is wired upside down and whose calibration is off, as a new
# panel's would be. On a display the control panel is yours to use until
# you close it; without one the demo runs under Xvfb, walks through the
# windows with the end-to-end tests and saves screenshots in
# build/screenshots (the tests' own output goes to build/screenshots/run.log).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
shots="$root/build/screenshots"
cross="$root/build/cross"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --unattended
fi
unattended=0
[ "${1:-}" = "--unattended" ] && unattended=1

say() { printf '%s\n' "$@"; }

export KV_DISPLAY=x11 KV_WINEPREFIX="$root/build/wine/demo-prefix" KV_WITH_ROTATOR=1
say "Preparing a Windows world under Wine with the touch driver's stand-in..."
"$root/scripts/wine-world.sh" up >/dev/null
eval "$("$root/scripts/wine-world.sh" env)"
trap '"$root/scripts/wine-world.sh" down >/dev/null' EXIT
logs=$(dirname "$KV_WINEPREFIX")

kvsim="$cross/bin/kvsim.exe"
value() { sed -n "s/^$1=//p" | tr -d '\r'; }

# The companions live as long as the world; nothing of theirs may hold our output.
wine "C:\\Program Files\\TouchScreen\\kvbridge.exe" >>"$logs/bridge.log" 2>&1 &
bridge_pid=$!
wine "$cross/bin/kvfinger.exe" >>"$logs/finger.log" 2>&1 &
finger_pid=$!

# A panel as it comes: both axes mirrored (mounted upside down) and a
# driver calibration that is off by an offset and a scale.
wine "$kvsim" wiring 3
wine "$kvsim" calibration 90 540 1000 60 500 950 0 >/dev/null

state=$(wine "$kvsim" state)
say "" "The driver is running and has found the controller (port $(value detected_port <<<"$state"))."
wine "$kvsim" down screen 200 150
sleep 0.3
state=$(wine "$kvsim" state)
wine "$kvsim" up
say "A finger on the panel at screen point (200, 150) reaches the driver as raw" \
    "coordinates ($(value raw_x <<<"$state"), $(value raw_y <<<"$state")), which its present calibration puts at" \
    "($(value mapped_x <<<"$state"), $(value mapped_y <<<"$state")) on the screen: the panel needs calibrating."

wine "C:\\Program Files\\TouchScreen\\KVSTART.exe"
say "" "The startup agent ran as at logon: it applied the double-click settings" \
    "and started the rotation program, which told the driver the screen size" \
    "($(wine "$kvsim" state | value screen_width) x $(wine "$kvsim" state | value screen_height))."

if [ "$unattended" = 1 ]; then
  rm -rf "$shots" && mkdir -p "$shots"
  runlog="$shots/run.log"
  # The tests inject touches of their own and start their own companions.
  kill "$bridge_pid" "$finger_pid" 2>/dev/null || true
  say "" "No display here, so the demo walks through the windows by itself on a hidden one:" \
      "  - the control panel and its settings dialogs;" \
      "  - the calibration screen, calibrated with simulated touches;" \
      "  - the calibration again, this time with mouse clicks on each cross of the" \
      "    upside-down panel, then the draw test with a line drawn by dragging the mouse;" \
      "  - the startup agent's double-click window and the uninstaller's question." \
      "This takes a minute or two. The details go to $runlog."
  status=0
  KV_SHOTS_DIR="Z:$(echo "$shots" | tr '/' '\\')" "$root/scripts/run-e2e.sh" \
    --gtest_filter='PanelStart.ShowsTheFourSummariesReadFromTheDriver:PanelDialogs.*:TextFit.*:Agent.Registers*:DrawTest.SimulatedStroke*:Startup.ConfigurationWindowAppliesAndTestsADoubleClick:FullCalibration.WiredAnyWayOnAStraightDisplay:Uninstaller.YesCloses*:MouseAsFinger.ClicksOnTheCornerMarks*' \
    >"$runlog" 2>&1 || status=$?
  for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
  done
  import -window root "$shots/desktop.png" || true
  say "" "At 150 % display scaling (144 DPI): the control panel and the calibration screen..."
  "$root/scripts/wine-world.sh" down >/dev/null
  (
    export KV_WINEPREFIX="$root/build/wine/demo-prefix-144" KV_DPI=144
    export KV_WINE_TEMPLATE_DIR="$root/build/wine"
    "$root/scripts/wine-world.sh" up >/dev/null
    trap '"$root/scripts/wine-world.sh" down >/dev/null' EXIT
    mkdir -p "$shots/144dpi"
    KV_SHOTS_DIR="Z:$(echo "$shots/144dpi" | tr '/' '\\')" "$root/scripts/run-e2e.sh" \
      --gtest_filter='PanelAt144Dpi.*:CalibrationAt144Dpi.*' >>"$runlog" 2>&1
  ) || status=$?
  for bmp in "$shots"/144dpi/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
  done

  say "" "Screenshots, in $shots:"
  describe() {
    case "$1" in
      main-window) echo "the control panel's main window" ;;
      main-window-longest) echo "the main window with its longest summaries" ;;
      mouse-speed) echo "the Mouse Speed dialog" ;;
      mouse-speed-changed) echo "Mouse Speed after a change, Apply enabled" ;;
      mouse-speed-bypass) echo "Mouse Speed in bypass mode" ;;
      feedback-sound) echo "the Feedback Sound dialog" ;;
      virtual-button) echo "the Virtual Button dialog (touch mode, right button)" ;;
      virtual-button-automatic) echo "Virtual Button with the automatic right button" ;;
      support) echo "the support window" ;;
      about) echo "the About window" ;;
      calibration-corner) echo "the calibration screen, first corner cross" ;;
      calibration-edge) echo "the calibration screen, first edge cross" ;;
      draw-test) echo "the draw test after a simulated stroke" ;;
      draw-test-mouse) echo "the draw test after a line dragged with the mouse, once the upside-down panel was calibrated by mouse clicks" ;;
      startup-sdc) echo "the startup agent's double-click window (KVSTART /SDC)" ;;
      remove-question) echo "the uninstaller's question" ;;
      setup-status) echo "the status window of the installer and the uninstaller" ;;
      desktop) echo "the whole screen at the end" ;;
      panel-main-144dpi) echo "the main window at 144 DPI" ;;
      calibration-144dpi|calibration-corner-144dpi) echo "the calibration screen at 144 DPI" ;;
      *) echo "$1" ;;
    esac
  }
  for png in "$shots"/*.png "$shots"/144dpi/*.png; do
    [ -e "$png" ] || continue
    name=$(basename "${png%.png}")
    printf '  %-34s %s\n' "${png#"$shots"/}" "$(describe "$name")"
  done
  if [ "$status" = 0 ]; then
    say "" "Every step went as expected."
  else
    say "" "Some step did not go as expected: see $runlog."
  fi
  exit "$status"
else
  say "" "The control panel opens now. Your mouse is the finger on the touch panel:" \
      "on the calibration screen and on the draw test's white page, pressing the left" \
      "button touches the panel, dragging slides the finger and releasing lifts it." \
      "An orange ring shows where the driver puts each touch. Everywhere else the" \
      "mouse is a mouse, and the right button always is." \
      "" \
      "  1. Click \"Calibration\". Before calibration a touch lands far off: the panel" \
      "     is mounted upside down and its old calibration is wrong." \
      "  2. Click the centre of each cross as it appears (four crosses)." \
      "  3. When asked, click anywhere on the grey screen (not on the question): the" \
      "     ring now lands under the mouse. Click Yes to keep the calibration (No" \
      "     brings the old one back)." \
      "  4. Open the draw test: hold Shift, Ctrl and Alt and click \"Exit\" with the" \
      "     right button. Drag on the white page to draw; \"Exit Test\" leaves it." \
      "" \
      "Close the control panel to end the demo."
  wine "C:\\Program Files\\TouchScreen\\KVPANEL.exe"
fi
