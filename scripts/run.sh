#!/usr/bin/env bash
# Builds Tintbox and starts it under Wine. Without a display it runs on a virtual
# screen, saves a screenshot to build/screenshot.png after a few seconds and closes it.
set -euo pipefail
. "$(dirname "$0")/common.sh"

install_packages
configure_and_build Release
headless=0
[ -n "${DISPLAY:-}" ] || headless=1
trap stop_all EXIT
start_display
start_wine
app=$TINTBOX_WINBUILD/app
if [ "$headless" -eq 0 ]; then
  "$TINTBOX_WINE" "$app/tintbox.exe"
else
  "$TINTBOX_WINE" "$app/tintbox.exe" &
  pid=$!
  sleep "${TINTBOX_SHOT_DELAY:-6}"
  import -window root "$TINTBOX_BUILD/screenshot.png"
  log "screenshot saved to $TINTBOX_BUILD/screenshot.png"
  "$TINTBOX_WINESERVER" -k >/dev/null 2>&1 || true
  wait "$pid" 2>/dev/null || true
fi
