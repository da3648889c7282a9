#!/usr/bin/env bash
# Fuzzes the platform-free code (color model, edit numbers, palette bytes and
# the palette formats of other colour tools, one target per format) on
# this machine with clang's libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer. Each target runs for a bounded time, as many at
# once as there are cores; the script prints the runs executed and exits
# non-zero when any target found a crash.
#
#   bash scripts/fuzz.sh              60 seconds for each target
#   bash scripts/fuzz.sh 300          300 seconds each (or TINTBOX_FUZZ_SECONDS=300)
#   bash scripts/fuzz.sh 30 fuzz_hex  only the targets named
#   TINTBOX_FUZZ_FORMAT_SECONDS=6 bash scripts/fuzz.sh 15
#                                     the seven format targets 6 s each, the others 15 s
#
# The corpus grows in build/fuzz/corpus between runs; a crashing input is kept
# in build/fuzz/findings and can be replayed with: build/fuzz/<target> <file>.
set -euo pipefail
. "$(dirname "$0")/common.sh"

seconds=${1:-${TINTBOX_FUZZ_SECONDS:-60}}
case "$seconds" in ''|*[!0-9]*) echo "usage: $0 [seconds] [target...]" >&2; exit 2 ;; esac
shift $(( $# > 0 ? 1 : 0 ))
targets=("$@")
formats=(fuzz_format_tbp fuzz_format_gpl fuzz_format_ase fuzz_format_aco fuzz_format_jasc fuzz_format_paintnet
  fuzz_format_hex)
[ "${#targets[@]}" -gt 0 ] || targets=(fuzz_hex fuzz_edit_number fuzz_palette "${formats[@]}")
format_seconds=${TINTBOX_FUZZ_FORMAT_SECONDS:-$seconds}
case "$format_seconds" in ''|*[!0-9]*) echo "TINTBOX_FUZZ_FORMAT_SECONDS must be a number" >&2; exit 2 ;; esac

# clang alone has no libFuzzer: it comes with the compiler runtime libraries.
TINTBOX_PACKAGES=(cmake make clang libclang-rt-dev)
install_packages

out=$TINTBOX_BUILD/fuzz
cmake -S "$TINTBOX_ROOT/fuzz" -B "$out" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out" -j "$(nproc)" --target "${targets[@]}" >/dev/null

# Seeds: small texts written here, one file each.
seed() { # target name text...
  local dir=$out/seeds/$1 name=$2; shift 2
  mkdir -p "$dir"
  printf "$@" > "$dir/$name"
}
rm -rf "$out/seeds"
for t in "" 0 7 9 a f A F ff FF 0f 80 00 g z " " "  " "1" "fF" "7g" "-1" "+f" "abc" "FFFF" '\x82\x54'; do
  seed fuzz_hex "hex-$(printf '%s' "$t" | od -An -tx1 | tr -d ' \n')" '%b' "$t"
done
for t in "" 0 7 12 255 256 359 360 100 101 999 "12a" " 12" "  7" "a" "+5" "-5" " -5" '\t5' '\x82\x54' \
    2147483647 2147483648 4294967295 4294967296 00000000004294967295 "255\n128\n0" "359\n100\n100" \
    "0\n0\n0" "12\n\n7" "200\n50\n25\nextra"; do
  seed fuzz_edit_number "edit-$(printf '%s' "$t" | od -An -tx1 | tr -d ' \n' | cut -c1-40)" '%b' "$t"
done
seed fuzz_palette empty ''
seed fuzz_palette one 'r'
seed fuzz_palette entry 'rgbx'
seed fuzz_palette entry-and-half 'rgbxrg'
seed fuzz_palette path 'Cpalette'
seed fuzz_palette path-tbp '\001C:\\colors\\mine.tbp'
seed fuzz_palette path-tight '\000C:\\colors\\mine'
seed fuzz_palette path-unterminated '\377mine'
for n in 127 128 129 511 512 513 1024; do
  head -c "$n" < <(yes 'The quick brown fox jumps over the lazy dog 0123456789' | tr -d '\n') > "$out/seeds/fuzz_palette/text-$n"
done

# One small file of each palette format, from its published layout.
seed fuzz_format_tbp entries 'rgb\000RGB\000\377\377\377\000rg'
seed fuzz_format_gpl comments 'GIMP Palette\r\nName: mine\r\nColumns: 4\n# comment\n\n255   0   0\tRed\n  0 128 255\n\t1\t2\t3'
seed fuzz_format_gpl bom '\357\273\277GIMP Palette\n0 0 0 black\n'
seed fuzz_format_jasc three 'JASC-PAL\r\n0100\r\n3\r\n255 0 0\r\n0 255 0\r\n0 0 255\r\n'
seed fuzz_format_paintnet comments '; paint.net Palette File\r\n; Colors: 2\r\nFFFF0000\r\n8000ff00 ; green\r\n'
seed fuzz_format_hex list 'ff0000\n#00ff00\r\n0000FF\n'
# .ase: a group holding RGB, CMYK, LAB and Gray colours, then its end.
seed fuzz_format_ase group 'ASEF\000\001\000\000\000\000\000\006%b%b%b%b%b%b' \
  '\300\001\000\000\000\006\000\002\000g\000\000' \
  '\000\001\000\000\000\030\000\002\000a\000\000RGB \077\200\000\000\077\000\000\000\000\000\000\000\000\002' \
  '\000\001\000\000\000\034\000\002\000c\000\000CMYK\076\114\314\315\076\314\314\315\077\031\231\232\075\314\314\315\000\002' \
  '\000\001\000\000\000\030\000\002\000l\000\000LAB \077\000\000\000\102\000\000\000\302\000\000\000\000\002' \
  '\000\001\000\000\000\020\000\002\000y\000\000Gray\076\200\000\000\000\002' \
  '\300\002\000\000\000\000'
# .aco: a version 1 section (RGB, grey) and the named version 2 section; HSB, CMYK and Lab alone.
seed fuzz_format_aco both '\000\001\000\002%b\000\002\000\002%b' \
  '\000\000\377\377\200\000\000\000\000\000\000\010\023\210\000\000\000\000\000\000' \
  '\000\000\377\377\200\000\000\000\000\000\000\000\000\002\000a\000\000\000\010\023\210\000\000\000\000\000\000\000\000\000\001\000\000'
seed fuzz_format_aco hsb '\000\001\000\001\000\001\125\125\377\377\200\000\000\000'
seed fuzz_format_aco cmyk '\000\001\000\001\000\002\000\000\377\377\377\377\200\000'
seed fuzz_format_aco lab '\000\001\000\001\000\007\023\210\340\000\037\100\000\000'

# One target for its budget; its exit status goes to $out/<target>.status.
fuzz_one() { # target
  local target=$1 corpus=$out/corpus/$1 budget=$seconds status=0
  case "$target" in fuzz_format_*) budget=$format_seconds ;; esac
  mkdir -p "$corpus" "$out/findings"
  log "$target: fuzzing for $budget s"
  ( cd "$out" && "./$target" -max_total_time="$budget" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$out/findings/$target-" "$corpus" "$out/seeds/$target" ) > "$out/$target.log" 2>&1 || status=$?
  echo "$status" > "$out/$target.status"
}

# The targets side by side, one a core (TINTBOX_FUZZ_JOBS to change), each one process.
jobs_max=${TINTBOX_FUZZ_JOBS:-$(nproc)}
running=0
for target in "${targets[@]}"; do
  rm -f "$out/$target.status"
  if [ "$running" -ge "$jobs_max" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  fuzz_one "$target" &
  running=$((running + 1))
done
wait

failed=()
for target in "${targets[@]}"; do
  status=$(cat "$out/$target.status" 2>/dev/null || echo '?')
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$out/$target.log" | grep -o '[0-9]*$' || true)
  done_line=$(grep -E '^Done [0-9]+ runs in [0-9]+ second' "$out/$target.log" | tail -1 || true)
  cov=$(grep -E '#[0-9]+.*(DONE|pulse|NEW)' "$out/$target.log" | tail -1 | grep -o 'cov: [0-9]*' || true)
  corpus_size=$(find "$out/corpus/$target" -type f | wc -l)
  if [ "$status" != 0 ]; then
    failed+=("$target")
    log "$target: FAILED (exit $status) after ${runs:-?} runs; log $out/$target.log"
    grep -E 'ERROR: |check failed|runtime error|Test unit written' "$out/$target.log" | head -20 >&2 || true
  else
    printf '%s: %s runs (%s), %s, corpus %s files\n' "$target" "${runs:-?}" "${done_line:-no summary}" "${cov:-cov: ?}" \
      "$corpus_size"
  fi
done

if [ "${#failed[@]}" -gt 0 ]; then
  log "crashes in: ${failed[*]} (inputs in $out/findings)"
  exit 1
fi
log "no findings in ${#targets[@]} targets"
