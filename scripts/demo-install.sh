#!/usr/bin/env bash
# The installer and the uninstaller on a world of their own: an install
# (KVSETUP) and a removal (KVREMOVE, answered Yes), with the mouse
# configuration and the product key printed before, after the install and
# after the removal, and screenshots of the uninstaller's question and of
# the status window in build/screenshots/install. Runs under Xvfb when
# there is no display. Needs a built tree (scripts/build.sh).
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

rm -rf "$shots" && mkdir -p "$shots"
echo "== Install, then remove (KVSETUP, then KVREMOVE answered Yes)"
KV_SHOTS_DIR="Z:$(echo "$shots" | tr '/' '\\')" "$root/scripts/run-e2e.sh" \
  --gtest_filter='Installer.InstallRemoveInstall*:Uninstaller.YesCloses*' | grep -E '^\[ +(OK|FAILED) +\]' || true
for step in before after-install after-removal; do
  echo
  echo "== Registry $step"
  tr -d '\r' <"$shots/registry-$step.txt"
done
for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
echo
echo "== Screenshots"
ls "$shots"
