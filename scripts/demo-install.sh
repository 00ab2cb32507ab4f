#!/usr/bin/env bash
# The package on a world of its own: the world is made by
# "TouchScreenSetup.exe /S" (what it added is printed), then removed with
# "KVREMOVE.exe /SILENT" and installed again (the package's removal test),
# then removed once more and installed interactively, clicked through with
# real input, with a screenshot of each page in build/screenshots/install.
# Runs under Xvfb when there is no display. Needs a built tree
# (scripts/build.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
shots="$root/build/screenshots/install"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

# A world of its own, so that the demo's restarts touch nothing else.
export KV_DISPLAY=x11 KV_WINEPREFIX="$root/build/wine/install-demo-prefix"
"$root/scripts/wine-world.sh" up
trap '"$root/scripts/wine-world.sh" down' EXIT
snapshots="$(dirname "$KV_WINEPREFIX")/snapshots"

echo
echo "== What TouchScreenSetup.exe /S added to the machine (files and registry)"
# Wine's display devices are made anew by every session: left out.
diff "$snapshots/before-install" "$snapshots/after-install" |
  grep -E '^[<>]' | grep -vE 'Control\\(Video|DeviceClasses|ServiceCurrent)|Hardware Profiles|HKLM\\Hardware|Temporary System' || true

rm -rf "$shots" && mkdir -p "$shots"
echo
echo "== Removal (KVREMOVE.exe /SILENT), the next start, installing again; then an interactive install"
KV_SHOTS_DIR="Z:$(echo "$shots" | tr '/' '\\')" "$root/scripts/run-e2e.sh" \
  --gtest_filter='PackageRemoval.*:PackageWorld.PackageInteractive*' | grep -E '^\[ +(OK|FAILED|SKIPPED) +\]' || true
for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
echo
echo "== Screenshots"
ls "$shots"
