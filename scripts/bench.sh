#!/usr/bin/env bash
# Runs the benchmarks under Wine in a world of their own and prints their
# figures, with the sizes of everything the cross tree built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cross=${KV_CROSS_BUILD_DIR:-$root/build/cross}
export KV_WINEPREFIX=${KV_WINEPREFIX:-$root/build/wine/bench-prefix}
echo "== Sizes (stripped)"
for f in "$cross"/bin/*.exe "$cross"/bin/*.sys "$cross"/sim/*.exe; do
  [ -e "$f" ] || continue
  printf '%-24s %8d bytes\n' "$(basename "$f")" "$(stat -c %s "$f")"
done
total=0
for program in KVPANEL KVSTART KVRBTN KVSETUP KVREMOVE; do
  f="$cross/bin/$program.exe"
  if [ -e "$f" ]; then
    total=$((total + $(stat -c %s "$f")))
  else
    echo "$program.exe: not built, left out of the total"
  fi
done
awk -v t="$total" 'BEGIN { printf "the five programs together: %d bytes (%.1f KB)\n", t, t / 1024 }'
if [ -e "$cross/TouchScreenSetup.exe" ]; then
  awk -v t="$(stat -c %s "$cross/TouchScreenSetup.exe")" \
    'BEGIN { printf "the package TouchScreenSetup.exe: %d bytes (%.1f KB; at most 600 KB)\n", t, t / 1024 }'
fi
"$root/scripts/wine-world.sh" up
trap '"$root/scripts/wine-world.sh" down' EXIT
eval "$("$root/scripts/wine-world.sh" env)"
echo "== Device round trips"
wine "$cross/bin/bench_device.exe" 3000
echo "== Right-button agent"
# CPU seconds (user + system), from /proc, of this world's processes named
# $1 (other Wine sessions on the machine are left out).
cpu_seconds() {
  cpu_seconds_of $(world_pids "$1")
}
# This world's processes named $1.
world_pids() {
  local pid
  for pid in $(pgrep -x "$1"); do
    # A process may end between pgrep and here.
    { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
  return 0
}
# CPU seconds of the given processes; one that has just ended still counts
# until its parent has reaped it, so a figure taken as a program is being
# ended stays whole.
cpu_seconds_of() {
  local total=0 ticks pid
  for pid in "$@"; do
    ticks=$(awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null || echo 0)
    total=$((total + ticks))
  done
  echo "$total $(getconf CLK_TCK)" | awk '{printf "%.3f", $1 / $2}'
}
wine "$cross/bin/bench_agent.exe" 50 5000 | while IFS= read -r line; do
  line=${line%$'\r'}
  case "$line" in
    armed-wait-begin*)
      a0=$(cpu_seconds 'KVRBTN.exe'); s0=$(cpu_seconds wineserver64); d0=$(cpu_seconds 'winedevice.exe')
      t0=$(date +%s.%N) ;;
    armed-wait-end*)
      a1=$(cpu_seconds 'KVRBTN.exe'); s1=$(cpu_seconds wineserver64); d1=$(cpu_seconds 'winedevice.exe')
      t1=$(date +%s.%N)
      awk -v a="$a0" -v b="$a1" -v s="$s0" -v t="$s1" -v d="$d0" -v e="$d1" -v w0="$t0" -v w1="$t1" -v l="$line" 'BEGIN {
        w = w1 - w0
        printf "armed wait (%s): KVRBTN %.2f s of CPU over %.2f s = %.1f %% of one core", l, b - a, w, 100 * (b - a) / w
        printf " (wineserver %.1f %%, driver host %.1f %%)\n", 100 * (t - s) / w, 100 * (e - d) / w
      }' ;;
    *) echo "$line" ;;
  esac
done
echo "== Pointer bridge"
wine "$cross/bin/bench_bridge.exe" 100 5000 | while IFS= read -r line; do
  line=${line%$'\r'}
  case "$line" in
    bridge-*-begin)
      bridges=$(world_pids 'kvbridge.exe')
      b0=$(cpu_seconds_of $bridges); s0=$(cpu_seconds wineserver64); t0=$(date +%s.%N) ;;
    bridge-*-end)
      # The bridge may be ending by now: read the same process again.
      b1=$(cpu_seconds_of $bridges); s1=$(cpu_seconds wineserver64); t1=$(date +%s.%N)
      what=${line#bridge-}; what=${what%-end}
      awk -v a="$b0" -v b="$b1" -v s="$s0" -v t="$s1" -v w0="$t0" -v w1="$t1" -v what="$what" 'BEGIN {
        w = w1 - w0
        if (b < a) { printf "bridge %s: kvbridge ended before it was read\n", what; exit }
        printf "bridge %s: kvbridge %.2f s of CPU over %.2f s = %.1f %% of one core (wineserver %.1f %%)\n", what, b - a, w, 100 * (b - a) / w, 100 * (t - s) / w
      }' ;;
    *) echo "$line" ;;
  esac
done
echo "== The mouse as a finger (kvfinger and kvbridge)"
wine "$cross/bin/bench_finger.exe" 100
echo "== Screen reader's read of the main window"
wine "$cross/bin/bench_accessibility.exe" 50
echo "== Calibration (a world of its own on Xvfb: the marks are read off the screen)"
ROOT="$root" CROSS="$cross" KV_CROSS_BUILD_DIR="$cross" KV_DISPLAY=x11 \
  KV_WINEPREFIX="$KV_WINEPREFIX-x11" KV_WINE_TEMPLATE_DIR="$(dirname "$KV_WINEPREFIX")" \
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -e
    "$ROOT/scripts/wine-world.sh" up >/dev/null
    trap "\"$ROOT/scripts/wine-world.sh\" down" EXIT
    eval "$("$ROOT/scripts/wine-world.sh" env)"
    wine "$CROSS/bin/bench_calibration.exe" 5000 10'
echo "== Logon run without its pause"
wine "$cross/bin/bench_logon.exe" 20
# The installer changes the world and restarts Windows, the uninstaller
# asks first: every program is measured to its first window and then ended,
# in a world of their own that is thrown away afterwards.
echo "== Start-up to the first visible window (a throwaway world)"
"$root/scripts/wine-world.sh" down
export KV_WINEPREFIX="$KV_WINEPREFIX-throwaway"
"$root/scripts/wine-world.sh" up
eval "$("$root/scripts/wine-world.sh" env)"
wine "$cross/bin/bench_startup.exe" 20 KVSTART.exe KVSTART.exe:/SDC KVPANEL.exe KVRBTN.exe KVSETUP.exe KVREMOVE.exe
echo "== Unattended removal and installation (the same throwaway world)"
wine "$cross/bin/bench_package.exe" "Z:$(echo "$cross/TouchScreenSetup.exe" | tr '/' '\\')" 5
