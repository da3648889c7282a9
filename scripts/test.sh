#!/usr/bin/env bash
# Builds Tintbox and its tests for Windows and runs the whole suite under Wine,
# the suites on two monitors and at 144 DPI included (scripts/wine-rig).
set -euo pipefail
. "$(dirname "$0")/common.sh"

install_packages
configure_and_build Release
trap stop_all EXIT
start_display
start_wine
prepare_rigs
status=0
(cd "$TINTBOX_WINBUILD" && ctest --output-on-failure --timeout 600 "$@") || status=$?

# Then every fuzz target for a short bounded time, from its fixed seeds plus
# random input, under the sanitizers: a finding fails the run. A run narrowed
# by ctest arguments skips it unless TINTBOX_FUZZ=1; TINTBOX_FUZZ=0 always does.
fuzz_default=1
[ $# -eq 0 ] || fuzz_default=0
if [ "${TINTBOX_FUZZ:-$fuzz_default}" = 1 ]; then
  stop_all  # the display and Wine are done with
  start=$SECONDS
  TINTBOX_FUZZ_FORMAT_SECONDS=${TINTBOX_FUZZ_FORMAT_SECONDS:-6} \
    bash "$TINTBOX_ROOT/scripts/fuzz.sh" "${TINTBOX_FUZZ_SECONDS:-15}" || status=1
  log "fuzz pass: $((SECONDS - start)) s"
fi
exit "$status"
