#!/usr/bin/env bash
# Builds Tintbox and runs its benchmark under Wine: first the programs as run
# from outside (start and close against a minimal window program, a drag sent
# from another process; other builds of tintbox.exe alongside, host paths in
# TINTBOX_BENCH_OTHERS), then the main window's refresh and drag steps, one
# edit write taken apart and the screen capture on a 1024x768 screen, then the capture
# alone on each further screen size, each on a virtual X screen of its own (a
# virtual screen cannot change its size, and Wine keeps the first size it saw
# for as long as its server runs). Sizes: TINTBOX_BENCH_SCREENS. Last, on two
# monitors (TINTBOX_BENCH_MONITORS, Xephyr through scripts/wine-rig): the
# capture as it is, and the probe's screenshot of the whole virtual screen.
set -euo pipefail
. "$(dirname "$0")/common.sh"

install_packages
configure_and_build Release

first=1
for size in ${TINTBOX_BENCH_SCREENS:-1024x768 1920x1080 3840x2160}; do
  (
    unset DISPLAY
    TINTBOX_SCREEN=${size}x24
    trap stop_all EXIT
    start_display
    start_wine
    log "benchmark on a $size screen"
    if [ "$first" -eq 1 ]; then
      others=()
      for exe in ${TINTBOX_BENCH_OTHERS:-}; do others+=("$(winepath -w "$exe" 2>/dev/null)"); done
      "$TINTBOX_WINE" "$TINTBOX_WINBUILD/tools/tintbox_bench.exe" launch "${others[@]}"
      "$TINTBOX_WINE" "$TINTBOX_WINBUILD/tools/tintbox_bench.exe" drag "${others[@]}"
      "$TINTBOX_WINE" "$TINTBOX_WINBUILD/tools/tintbox_bench.exe"
    else
      "$TINTBOX_WINE" "$TINTBOX_WINBUILD/tools/tintbox_bench.exe" capture
    fi
  )
  first=0
done

(
  unset DISPLAY
  trap stop_all EXIT
  start_display
  wine_env
  monitors=${TINTBOX_BENCH_MONITORS:-3840x2160 1920x1080}
  log "benchmark on two monitors, $monitors"
  TINTBOX_MONITORS=$monitors "$TINTBOX_ROOT/scripts/wine-rig" "$TINTBOX_WINBUILD/tools/tintbox_bench.exe" capture
  for rows in 16 45; do
    TINTBOX_MONITORS=$monitors PROBE_STRIP_ROWS=$rows \
      "$TINTBOX_ROOT/scripts/wine-rig" "$TINTBOX_WINBUILD/tools/tintbox_probe.exe" monitors timing
  done
)
