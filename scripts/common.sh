#!/usr/bin/env bash
# Shared by build.sh, run.sh and test.sh: installs what is missing, sets up the
# Japanese and the English locale, a private Wine prefix under the build folder
# and, when no display is set, a virtual X screen. Source it; do not run it.

TINTBOX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TINTBOX_BUILD=${TINTBOX_BUILD:-$TINTBOX_ROOT/build}
TINTBOX_WINBUILD=$TINTBOX_BUILD/win64

TINTBOX_PACKAGES=(cmake make g++ g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 fonts-wine xvfb x11-utils xauth locales fonts-ipafont-gothic googletest imagemagick xclip
  xserver-xephyr)

log() { printf '== %s\n' "$*" >&2; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
  local missing=() p
  for p in "${TINTBOX_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    log "installing ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  # Japanese (code page 932) for the program as specified, English (code page
  # 1252) for the run that checks the English interface.
  local locale generate=0
  for locale in ja_JP en_US; do
    locale -a 2>/dev/null | grep -qi "^$locale\.utf-\?8$" && continue
    log "generating the $locale.UTF-8 locale"
    as_root sed -i "s/^# *$locale.UTF-8 UTF-8/$locale.UTF-8 UTF-8/" /etc/locale.gen
    grep -q "^$locale.UTF-8 UTF-8" /etc/locale.gen || echo "$locale.UTF-8 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    generate=1
  done
  [ "$generate" -eq 0 ] || as_root locale-gen >/dev/null
}

configure_and_build() {
  local type=${1:-Release}
  cmake -S "$TINTBOX_ROOT" -B "$TINTBOX_WINBUILD" \
    -DCMAKE_TOOLCHAIN_FILE="$TINTBOX_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE="$type" >/dev/null
  cmake --build "$TINTBOX_WINBUILD" -j "$(nproc)"
}

# The environment every Wine call of this project runs in.
wine_env() {
  export WINEPREFIX=$TINTBOX_BUILD/wineprefix
  export WINEARCH=win64
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  TINTBOX_WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
  TINTBOX_WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
  export TINTBOX_WINE TINTBOX_WINESERVER
}

TINTBOX_XVFB_PID=
start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n=${TINTBOX_DISPLAY_NUMBER:-77}
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${TINTBOX_SCREEN:-1024x768x24}" -nolisten tcp >/dev/null 2>&1 &
  TINTBOX_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && { log "virtual display $DISPLAY (Xvfb pid $TINTBOX_XVFB_PID)"; return 0; }
    sleep 0.1
  done
  log "Xvfb did not start"; return 1
}

# Creates the prefix once and keeps one wineserver alive for the whole run.
start_wine() {
  wine_env
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$TINTBOX_WINE" wineboot -i >/dev/null 2>&1 || true
    "$TINTBOX_WINESERVER" -w
  fi
  "$TINTBOX_WINESERVER" -p >/dev/null 2>&1 || true
  # Start the prefix's services and desktop now, detached from our output: a
  # process that inherited a test's pipes would keep CTest waiting for ever.
  "$TINTBOX_WINE" wineboot </dev/null >/dev/null 2>&1 || true
}

# Stops only what this script started: the wineservers of our prefixes and our Xvfb.
stop_all() {
  if [ -n "${WINEPREFIX:-}" ]; then
    local prefix
    for prefix in "$WINEPREFIX" "$TINTBOX_BUILD"/wineprefix-*/; do
      [ -d "$prefix" ] && WINEPREFIX=${prefix%/} "$TINTBOX_WINESERVER" -k >/dev/null 2>&1 || true
    done
  fi
  if [ -n "$TINTBOX_XVFB_PID" ]; then kill "$TINTBOX_XVFB_PID" 2>/dev/null || true; wait "$TINTBOX_XVFB_PID" 2>/dev/null || true; fi
}

# ---- The rigs: more than one monitor, and a screen of more than 96 DPI ----
#
# Each rig runs the program under a Wine prefix of its own: a Wine server keeps
# the monitors and the DPI it saw when it started, so one prefix cannot serve
# two displays or two DPIs at once.

# Makes the Wine prefix $1 once, with the screen set to $2 DPI when given
# (HKCU\Control Panel\Desktop LogPixels, read when a Wine server starts).
# Several runs may ask for the same prefix at once: the first makes it.
ensure_prefix() {
  local prefix=$1 dpi=${2:-}
  mkdir -p "$prefix"
  (
    flock 9
    [ -f "$prefix/.tintbox-ready" ] && exit 0
    log "creating the Wine prefix $prefix${dpi:+ at $dpi DPI}"
    export WINEPREFIX=$prefix
    "$TINTBOX_WINE" wineboot -i </dev/null >/dev/null 2>&1 || true
    if [ -n "$dpi" ]; then
      "$TINTBOX_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        </dev/null >/dev/null 2>&1
    fi
    "$TINTBOX_WINESERVER" -k >/dev/null 2>&1 || true
    "$TINTBOX_WINESERVER" -w
    [ -f "$prefix/system.reg" ] && touch "$prefix/.tintbox-ready"
  ) 9>"$prefix.lock"
  [ -f "$prefix/.tintbox-ready" ] || { log "could not create the Wine prefix $prefix"; return 1; }
}

# Starts Xephyr inside the current display with one X screen per size given
# ("1024x768" ...), which Xinerama lays out side by side from the left, top
# edges aligned. RANDR is off, so Wine reads its monitors from Xinerama (the
# virtual screen of Xvfb's own Xinerama puts every screen at 0,0). Sets
# TINTBOX_XEPHYR_PID and TINTBOX_XEPHYR_DISPLAY.
TINTBOX_XEPHYR_PID=
start_xephyr() {
  local n=${TINTBOX_XEPHYR_NUMBER:-120} tries screens=() size i
  for size in "$@"; do screens+=(-screen "$size"); done
  for tries in 1 2 3 4 5; do
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xephyr ":$n" "${screens[@]}" +xinerama -extension RANDR -nolisten tcp </dev/null >/dev/null 2>&1 &
    TINTBOX_XEPHYR_PID=$!
    for i in $(seq 1 100); do
      if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        TINTBOX_XEPHYR_DISPLAY=":$n"
        return 0
      fi
      kill -0 "$TINTBOX_XEPHYR_PID" 2>/dev/null || break
      sleep 0.1
    done
    stop_xephyr
    n=$((n + 1))
  done
  log "Xephyr did not start"; return 1
}

stop_xephyr() {
  if [ -n "$TINTBOX_XEPHYR_PID" ]; then
    kill "$TINTBOX_XEPHYR_PID" 2>/dev/null || true
    wait "$TINTBOX_XEPHYR_PID" 2>/dev/null || true
  fi
  TINTBOX_XEPHYR_PID=
}

# The prefix scripts/wine-rig runs a program in at $1 DPI.
rig_prefix() { echo "$TINTBOX_BUILD/wineprefix-rig$1"; }

# The rigs' prefixes, made before the suite runs so that no test's time goes
# into making one (scripts/wine-rig makes a missing one too).
prepare_rigs() {
  wine_env
  ensure_prefix "$(rig_prefix 96)" 96
  ensure_prefix "$(rig_prefix 144)" 144
}
