#!/usr/bin/env bash
# Takes the README's screenshots from the real program under Wine: the window
# in HSV mode and in RGB mode, the screen capture overlay with its
# magnifier, the swatch's contrast tip in the middle of a drag, each in a Wine desktop window on a virtual screen; then the window
# in both modes once more with LANG=en_US.UTF-8 (code page 1252), where the
# interface is English.
#
#   bash scripts/screenshots.sh               all of them
#   bash scripts/screenshots.sh en-hsv en-rgb only those named
set -euo pipefail
. "$(dirname "$0")/common.sh"

TINTBOX_PACKAGES+=(xdotool)
install_packages
configure_and_build Release
unset DISPLAY
trap stop_all EXIT
start_display
start_wine
size=${TINTBOX_SHOT_SIZE:-460x340}
work=$TINTBOX_BUILD/screenshots
shots=${*:-hsv rgb capture contrast en-hsv en-rgb}
for shot in $shots; do
  mode=$(case "$shot" in *rgb) echo 1 ;; *) echo 0 ;; esac)
  lang=$(case "$shot" in en-*) echo en_US.UTF-8 ;; *) echo ja_JP.UTF-8 ;; esac)
  rm -rf "$work" && mkdir -p "$work"
  cp "$TINTBOX_WINBUILD/app/tintbox.exe" "$TINTBOX_WINBUILD/app/palini.dll" "$work/"
  cp "$TINTBOX_WINBUILD/app/palini.dll" "$work/palette.ini"
  printf '[Window]\r\nPosX=10\r\nPosY=8\r\n[Color]\r\nMode=%d\r\nR=38\r\nG=120\r\nB=200\r\n' "$mode" > "$work/tbox.ini"
  LANG=$lang LC_ALL=$lang "$TINTBOX_WINE" explorer "/desktop=Tintbox,$size" "$work/tintbox.exe" &
  pid=$!
  sleep 5
  if [ "$shot" = capture ]; then
    # F5 opens the overlay over the whole (virtual) screen; the pointer picks.
    xdotool mousemove 120 95 key F5
    sleep 2
    xdotool mousemove 214 110
    sleep 1
  fi
  if [ "$shot" = contrast ]; then
    # Down the value bar with the button held: the reference stays behind. Over
    # the swatch, still held, the tip compares the two.
    xdotool mousemove 383 80 mousedown 1
    for y in 110 125; do sleep 0.3; xdotool mousemove 383 $y; done
    sleep 0.3; xdotool mousemove 60 95; sleep 0.3; xdotool mousemove 62 97
    sleep 2
  fi
  import -window root -crop "$size+0+0" +repage "$TINTBOX_ROOT/docs/screenshot-$shot.png"
  [ "$shot" != contrast ] || xdotool mouseup 1
  log "docs/screenshot-$shot.png"
  "$TINTBOX_WINESERVER" -k >/dev/null 2>&1 || true
  wait "$pid" 2>/dev/null || true
  "$TINTBOX_WINESERVER" -p >/dev/null 2>&1 || true
  "$TINTBOX_WINE" wineboot </dev/null >/dev/null 2>&1 || true
done
