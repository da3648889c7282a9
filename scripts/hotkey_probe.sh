#!/usr/bin/env bash
# Builds tests/hotkey_probe.cpp and runs it under Wine on a virtual screen in
# every situation the global hotkey meets: in front, behind another Wine
# window, minimised, pressed with xdotool or with SendInput from another
# process, taken by another program, held down. Prints one line a situation
# with what was seen and exits non-zero when anything differs from the line's
# expectation. Takes about two minutes.
set -euo pipefail
. "$(dirname "$0")/common.sh"

TINTBOX_PACKAGES+=(xdotool)
install_packages
trap 'stop_all' EXIT
start_display
start_wine
probe=$TINTBOX_BUILD/hotkey_probe.exe
x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -static -Wall -Wextra -Werror -Wconversion -Wsign-conversion \
  -o "$probe" "$TINTBOX_ROOT/tests/hotkey_probe.cpp" -lcomctl32 -lgdi32
P() { "$TINTBOX_ROOT/scripts/wine-exec" "$probe" "$@"; }
focus() { xdotool search --name "probe: $1" | head -1 | xargs -r xdotool windowfocus; sleep 0.5; }
out=$(mktemp -d)
failures=0

# situation <name> <expected chosen> <expected count: N or >N> <register option> -- <stimulus>
situation() {
  local name=$1 chosen=$2 count=$3 option=$4; shift 5
  P register 9 $option >"$out/register.log" 2>&1 &
  local pid=$!
  sleep 3
  eval "$@" >/dev/null 2>&1 || true
  wait "$pid" || true
  local got_chosen got_count ok=1
  got_chosen=$(tr -d '\r' <"$out/register.log" | sed -n 's/^chosen //p')
  got_count=$(grep -c '^WM_HOTKEY' "$out/register.log" || true)
  [ "$got_chosen" = "$chosen" ] || ok=0
  case $count in
    \>*) [ "$got_count" -gt "${count#>}" ] || ok=0 ;;
    *) [ "$got_count" -eq "$count" ] || ok=0 ;;
  esac
  printf '%-4s %-62s chosen %-11s hotkeys %s\n' "$([ $ok = 1 ] && echo ok || echo FAIL)" "$name" "$got_chosen" "$got_count"
  [ $ok = 1 ] || failures=$((failures + 1))
}

xdotool mousemove 900 700   # the pointer on the bare root window: keys reach no Wine window
situation "in front, xdotool super+shift+c" win+shift+c 1 "" -- 'focus register; xdotool key super+shift+c; sleep 1'
situation "behind another Wine window, xdotool super+shift+c" win+shift+c 1 "" -- \
  '(P front 5 &) ; sleep 3; focus front; xdotool key super+shift+c; sleep 1'
situation "behind another Wine window, SendInput from a third process" win+shift+c 1 "" -- \
  '(P front 5 &) ; sleep 3; focus front; P send 12 67; sleep 1'
situation "minimised, SendInput from another process" win+shift+c 1 minimize -- 'P send 12 67; sleep 1'
situation "minimised, xdotool with no Wine window focused (not seen)" win+shift+c 0 minimize -- \
  'xdotool key super+shift+c; sleep 1'
situation "SendInput from the registering process itself" win+shift+c 1 self -- 'sleep 1'
P hold $((0x400c)) 67 30 >"$out/hold1.log" 2>&1 &
sleep 3
situation "Win+Shift+C held by another program: falls back, super+alt+c" win+alt+c 1 "" -- \
  'focus register; xdotool key super+alt+c; sleep 1'
P hold $((0x4009)) 67 10 >"$out/hold2.log" 2>&1 &
sleep 3
situation "both held by other programs: no hotkey" none 0 "" -- 'sleep 1'
wait
situation "held down 2 s with MOD_NOREPEAT: repeats all the same" win+shift+c ">1" "" -- \
  'focus register; xdotool keydown super+shift+c; sleep 2; xdotool keyup c shift super'
for mode in tooltip hotkeyctl; do
  if P "$mode" >"$out/$mode.log" 2>&1; then echo "ok   $mode"; else echo "FAIL $mode"; failures=$((failures + 1)); fi
  tr -d '\r' <"$out/$mode.log" | sed 's/^/     /'
done
rm -rf "$out"
echo "$failures situation(s) differ from what is expected"
[ "$failures" -eq 0 ]
