#!/usr/bin/env bash
# Builds the release for Windows with mingw-w64 and makes the zip a user
# downloads: Tintbox-<version>-win64.zip with one folder of the same name holding
# tintbox.exe, palini.dll, help.html, help_en.html and readme.txt. Prints its
# path and listing.
#
#   bash scripts/package.sh           build and package
#   bash scripts/package.sh --check   also unzip it into a fresh folder and run
#                                     the tintbox.exe found there under Wine
set -euo pipefail
. "$(dirname "$0")/common.sh"

check=0
case "${1:-}" in
  --check) check=1 ;;
  "") ;;
  *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac

# Only the cross build's tools (the zip is written by CPack itself); Wine and a
# virtual screen only for the check.
TINTBOX_PACKAGES=(cmake make g++ g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)
[ "$check" -eq 0 ] || TINTBOX_PACKAGES+=(wine wine64 fonts-wine xvfb x11-utils xauth locales fonts-ipafont-gothic imagemagick)
install_packages

release=$TINTBOX_BUILD/release
cmake -S "$TINTBOX_ROOT" -B "$release" \
  -DCMAKE_TOOLCHAIN_FILE="$TINTBOX_ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DTINTBOX_TESTS=OFF >/dev/null
cmake --build "$release" -j "$(nproc)" >&2
rm -f "$release"/Tintbox-*-win64.zip "$release"/Tintbox-*-win64.zip.sha256
(cd "$release" && cpack -G ZIP -C Release >&2)

zip=$(ls "$release"/Tintbox-*-win64.zip)
log "package $zip"
echo "$zip"
cmake -E tar tvf "$zip"

[ "$check" -eq 1 ] || exit 0

# The user's view: a fresh folder, nothing in it but what the zip held.
unpacked=$(mktemp -d "$TINTBOX_BUILD/unpacked.XXXXXX")
(cd "$unpacked" && cmake -E tar xf "$zip")
folder=$unpacked/$(basename "$zip" .zip)
for name in tintbox.exe palini.dll help.html help_en.html readme.txt; do
  [ -f "$folder/$name" ] || { log "missing from the zip: $name"; exit 1; }
done
extra=$(cd "$unpacked" && find . -mindepth 1 | sort | grep -v -x -F -e "./$(basename "$folder")" \
  -e "./$(basename "$folder")/tintbox.exe" -e "./$(basename "$folder")/palini.dll" \
  -e "./$(basename "$folder")/help.html" -e "./$(basename "$folder")/help_en.html" \
  -e "./$(basename "$folder")/readme.txt" || true)
[ -z "$extra" ] || { log "unexpected in the zip: $extra"; exit 1; }

trap stop_all EXIT
unset DISPLAY
start_display
start_wine
"$TINTBOX_WINE" "$folder/tintbox.exe" </dev/null >/dev/null 2>&1 &
pid=$!
window=
for _ in $(seq 1 100); do
  window=$(xwininfo -root -tree 2>/dev/null | grep -F '"Tintbox"' || true)
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || { log "tintbox.exe exited at start"; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { log "no Tintbox window appeared"; exit 1; }
log "window:$window"
sleep 3
kill -0 "$pid" 2>/dev/null || { log "tintbox.exe did not stay running"; exit 1; }
import -window root "$TINTBOX_BUILD/package-check.png" 2>/dev/null && log "screenshot $TINTBOX_BUILD/package-check.png" || true
# Closed as a user closes it, it writes its settings and palette beside itself.
"$TINTBOX_WINE" taskkill /im tintbox.exe </dev/null >/dev/null 2>&1 || true
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then log "tintbox.exe did not close"; exit 1; fi
for name in tbox.ini palette.ini; do
  [ -f "$folder/$name" ] || { log "tintbox.exe wrote no $name beside itself"; exit 1; }
done
log "checked: started from the unzipped folder, showed its window, wrote tbox.ini and palette.ini there"
