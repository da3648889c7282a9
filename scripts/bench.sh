#!/usr/bin/env bash
# Builds Tintbox and runs its benchmark under Wine, printing the figures.
set -euo pipefail
. "$(dirname "$0")/common.sh"

install_packages
configure_and_build Release
trap stop_all EXIT
start_display
start_wine
"$TINTBOX_WINE" "$TINTBOX_WINBUILD/tools/tintbox_bench.exe"
