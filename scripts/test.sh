#!/usr/bin/env bash
# Builds Tintbox and its tests for Windows and runs the whole suite under Wine.
set -euo pipefail
. "$(dirname "$0")/common.sh"

install_packages
configure_and_build Release
trap stop_all EXIT
start_display
start_wine
cd "$TINTBOX_WINBUILD"
ctest --output-on-failure --timeout 600 "$@"
