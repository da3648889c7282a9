#!/usr/bin/env bash
# Builds Tintbox and starts it under Wine. Without a display it runs on a virtual
# screen inside a Wine desktop window, saves a screenshot to build/screenshot.png
# after a few seconds and closes the program.
set -euo pipefail
. "$(dirname "$0")/common.sh"

install_packages
configure_and_build Release
headless=0
[ -n "${DISPLAY:-}" ] || headless=1
trap stop_all EXIT
start_display
start_wine
exe=$TINTBOX_WINBUILD/app/tintbox.exe
if [ "$headless" -eq 0 ]; then
  "$TINTBOX_WINE" "$exe"
else
  size=${TINTBOX_DESKTOP:-460x340}
  "$TINTBOX_WINE" explorer "/desktop=Tintbox,$size" "$exe" &
  pid=$!
  sleep "${TINTBOX_SHOT_DELAY:-6}"
  import -window root -crop "$size+0+0" "$TINTBOX_BUILD/screenshot.png"
  log "screenshot saved to $TINTBOX_BUILD/screenshot.png"
  "$TINTBOX_WINESERVER" -k >/dev/null 2>&1 || true
  wait "$pid" 2>/dev/null || true
fi
