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
cd "$TINTBOX_WINBUILD"
ctest --output-on-failure --timeout 600 "$@"
