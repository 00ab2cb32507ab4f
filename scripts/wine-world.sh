#!/usr/bin/env bash
# The Wine world the programs expect: a throwaway 64-bit prefix (no
# Mono/Gecko prompts), headless through Wine's null display driver unless
# KV_DISPLAY=x11, made as a user's machine is. First the machine as it was
# before the product came: the standard PS/2 mouse, the fonts, the display,
# and the service entry of the stand-in KVTOUCH driver. Then the package,
# TouchScreenSetup.exe /S, puts the programs, the driver file, the product
# key and the rest in place (its installation folder has a blank in it),
# and the driver is started.
#
#   wine-world.sh up      make a fresh world and leave its wineserver running
#   wine-world.sh down    end the world's wineserver (and with it the driver)
#   wine-world.sh env     print the environment for running programs in it
#
# Environment: KV_WINEPREFIX (default build/wine/prefix), KV_CROSS_BUILD_DIR
# (default build/cross), KV_DISPLAY (null | x11), KV_DPI (the display's
# LogPixels, e.g. 144 for 150 % scaling; default Wine's 96),
# KV_WINE_TEMPLATE_DIR (where the prefix template is kept; default beside
# the prefix, so that several worlds can share one), KV_WITH_ROTATOR (1: the
# KVROTATE stand-in joins the programs; the tests add it when they need it),
# KV_PACKAGE (the package to install; default the cross tree's).
#
# Beside the prefix, wine-world.log has the output of everything run, and
# snapshots/ (when the cross tree has kv_e2e_snapshot.exe) the files and
# registry of the world before and after the installation, which the
# package's tests compare against.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cross=${KV_CROSS_BUILD_DIR:-$root/build/cross}
export WINEPREFIX=${KV_WINEPREFIX:-$root/build/wine/prefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# winemenubuilder would copy the Start-menu shortcuts the package makes into
# the Linux desktop's menus, outside the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
template="${KV_WINE_TEMPLATE_DIR:-$(dirname "$WINEPREFIX")}/template-$(wine --version 2>/dev/null | tr -c 'A-Za-z0-9.\n' _ | head -1)"
log="$(dirname "$WINEPREFIX")/wine-world.log"
install_dir_unix="drive_c/Program Files/TouchScreen"

# A Windows machine has MS Sans Serif, Marlett (the caption buttons) and
# Times New Roman. Debian's Wine does not pick up its own fonts where the
# fonts-wine package puts them, so without help it draws the caption buttons
# as letters and MS Sans Serif in a wider Linux face; it does use fonts in
# the prefix's Fonts folder. The template gets Wine's fonts (.ttf and .fon)
# there, and the metric-compatible Liberation faces stand in for Times New
# Roman and Arial.
wine_fonts=/usr/share/wine/fonts
liberation_fonts=/usr/share/fonts/truetype/liberation
fonts_stamp=.kv-fonts-1

install_fonts() {
  local prefix=$1 dest="$1/drive_c/windows/Fonts"
  [ -f "$prefix/$fonts_stamp" ] && return 0
  [ -d "$wine_fonts" ] || { echo "wine-world: $wine_fonts missing (install fonts-wine)" >&2; return 1; }
  mkdir -p "$dest"
  cp "$wine_fonts"/*.ttf "$wine_fonts"/*.fon "$dest/"
  if [ -d "$liberation_fonts" ]; then
    cp "$liberation_fonts"/LiberationSerif-*.ttf "$liberation_fonts"/LiberationSans-*.ttf "$dest/"
  fi
  cat >"$prefix.fonts.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Times New Roman"="Liberation Serif"
"Arial"="Liberation Sans"
REG
  WINEPREFIX="$prefix" wine regedit /S "$(winepath_w "$prefix.fonts.reg")" >>"$log" 2>&1
  WINEPREFIX="$prefix" wineserver -w >>"$log" 2>&1
  rm -f "$prefix.fonts.reg"
  touch "$prefix/$fonts_stamp"
}

make_template() {
  if [ -f "$template/system.reg" ]; then
    install_fonts "$template"
    return 0
  fi
  echo "wine-world: creating the prefix template (once)"
  rm -rf "$template.tmp"
  mkdir -p "$(dirname "$template")"
  WINEPREFIX="$template.tmp" wineboot -i >>"$log" 2>&1
  WINEPREFIX="$template.tmp" wineserver -w >>"$log" 2>&1
  install_fonts "$template.tmp"
  mv "$template.tmp" "$template"
}

registry_file() {
  local display_line
  if [ "${KV_DISPLAY:-null}" = "x11" ]; then
    display_line='"Graphics"=-'
  else
    display_line='"Graphics"="null"'
  fi
  cat <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]
$display_line

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
; Without a window manager (Xvfb) Wine waits 2 s for one on every hide of a
; managed window; unmanaged windows get Wine's own frames instead.
"Managed"="N"

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\KVTOUCH]
"Type"=dword:00000001
"Start"=dword:00000003
"ErrorControl"=dword:00000001
"ImagePath"="C:\\\\windows\\\\system32\\\\drivers\\\\KVTOUCH.sys"
"DisplayName"="KVTOUCH stand-in touch driver"

; What the installer replaces: the standard PS/2 mouse as Windows 9x set it
; up, one class entry and the BIOS-enumerated device.
[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\Mouse]
"Class"="Mouse"

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\Mouse\\0000]
"DriverDesc"="Standard PS/2 Port Mouse"
"MouseType"="PS2"
"DevLoader"="*vmouse"
"MouseDriver"="msmouse.vxd"
"InfPath"="MSMOUSE.INF"
"InfSection"="PS2_Inst"

[HKEY_LOCAL_MACHINE\\Enum\\BIOS\\*PNP0F13\\0C]
"Class"="Mouse"
"DeviceDesc"="Standard PS/2 Port Mouse"
"Driver"="Mouse\\\\0000"
REG
  # Both places Wine reads the display's DPI from; they take effect when the
  # wineserver starts again, which up() does after importing this file.
  if [ -n "${KV_DPI:-}" ]; then
    local dpi
    dpi=$(printf '%08x' "$KV_DPI")
    cat <<REG

[HKEY_CURRENT_USER\\Control Panel\\Desktop]
"LogPixels"=dword:$dpi

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]
"LogPixels"=dword:$dpi
REG
  fi
}

up() {
  local package=${KV_PACKAGE:-$cross/TouchScreenSetup.exe}
  [ -f "$package" ] || { echo "wine-world: $package missing: build first" >&2; exit 1; }
  mkdir -p "$(dirname "$WINEPREFIX")"
  : >"$log"
  wineserver -k >/dev/null 2>&1 || true
  make_template
  rm -rf "$WINEPREFIX"
  cp -a "$template" "$WINEPREFIX"

  registry_file >"$(dirname "$WINEPREFIX")/world.reg"
  # The service entry is read by services.exe when it starts, so write the
  # registry first and start the session afterwards.
  wine regedit /S "$(winepath_w "$(dirname "$WINEPREFIX")/world.reg")" >>"$log" 2>&1
  wineserver -w
  # Everything Wine starts from here on outlives this script: none of it may
  # hold the caller's output open, or a runner reading it waits forever.
  wineserver -p >>"$log" 2>&1

  snapshot before-install
  local status=0
  wine "$package" /S >>"$log" 2>&1 || status=$?
  # The package ends with KVSETUP's code: 3010 (done, restart needed), which
  # reaches the shell as 3010 mod 256.
  if [ "$status" -ne 0 ] && [ "$status" -ne $((3010 % 256)) ]; then
    echo "wine-world: TouchScreenSetup.exe /S failed ($status; see $log and the TouchScreen.log in the temporary folder)" >&2
    exit 1
  fi
  snapshot after-install

  # The simulator's own tools sit beside the programs, where the tests and
  # the demo start them; they are not the package's, and its removal leaves
  # them (the package's tests take them away first).
  for tool in kvsim.exe kvbridge.exe; do
    [ -f "$cross/bin/$tool" ] && cp "$cross/bin/$tool" "$WINEPREFIX/$install_dir_unix/"
  done
  if [ "${KV_WITH_ROTATOR:-0}" = 1 ] && [ -f "$cross/sim/KVROTATE.exe" ]; then
    cp "$cross/sim/KVROTATE.exe" "$WINEPREFIX/$install_dir_unix/"
  fi
  wine net start KVTOUCH >>"$log" 2>&1 || { echo "wine-world: the driver did not start (see $log)" >&2; exit 1; }
  echo "wine-world: up ($WINEPREFIX)"
}

# The world's files and registry as the package's tests compare them.
snapshot() {
  local tool="$cross/bin/kv_e2e_snapshot.exe" dir
  [ -f "$tool" ] || return 0
  dir="$(dirname "$WINEPREFIX")/snapshots"
  mkdir -p "$dir"
  wine "$tool" "$(winepath_w "$dir/$1")" >>"$log" 2>&1
}

winepath_w() { echo "Z:$(echo "$1" | tr '/' '\\')"; }

down() {
  wineserver -k >/dev/null 2>&1 || true
}

case "${1:-}" in
  up) up ;;
  down) down ;;
  env) echo "export WINEPREFIX='$WINEPREFIX' WINEARCH=win64 WINEDEBUG='$WINEDEBUG' WINEDLLOVERRIDES='$WINEDLLOVERRIDES'" ;;
  *) echo "usage: $0 up|down|env" >&2; exit 2 ;;
esac
