#!/usr/bin/env bash
# setup-speed.sh [BUILD_DIR] [RUNS]
# How long the real Setup.exe takes under Wine to expand its payload (from the
# first file shown in the progress dialog to its "Creating Registry
# Entries..." line; the whole run from the backup answer to the shortcut
# question is printed beside it), for the product's own payload and for a
# 50 MB one; and how quickly the progress dialog's Cancel brings up its
# question while the 50 MB payload is written.
#
# BUILD_DIR holds Setup.exe, kelp_e2e_driver.exe, kelp_setres.exe and
# product/payload.zarc (a Windows build tree of this project); without it the
# script builds one in build/setup-speed. Each run gets a fresh Wine prefix and
# an X display of its own (tests/e2e/run-scenario.sh). RUNS: runs per payload
# (default 3). KELP_ZARC: the native zarc to pack with (else the tree's own).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${2:-3}
# shellcheck source=../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"

if [ -n "${1:-}" ]; then
  build=$(cd "$1" && pwd)
else
  build=$root/build/setup-speed
  # The x86_64 build where this kernel runs no 32-bit programs, else the real one.
  toolchain=$root/cmake/mingw-x86_64.cmake
  wine_can_run_32 && toolchain=$root/cmake/mingw-i686.cmake
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DKELP_TWIN=ON ${KELP_ZARC:+-DKELP_HOST_ZARC=$KELP_ZARC} >/dev/null
  cmake --build "$build" --target Setup kelp_e2e_driver kelp_setres >/dev/null
fi
zarc=${KELP_ZARC:-$build/host-zarc/zarc}
# A tree inside the Windows build (build/win/x86_64) uses its parent's.
[ -x "$zarc" ] || zarc=$build/../host-zarc/zarc
[ -x "$zarc" ] || { echo "no native zarc (set KELP_ZARC)" >&2; exit 1; }
export KELP_ZARC=$zarc
for f in Setup.exe kelp_e2e_driver.exe kelp_setres.exe product/payload.zarc; do
  [ -f "$build/$f" ] || { echo "$build/$f missing" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/setup-speed.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "Making the 50 MB payload (mixed deterministic content, LZH)..."
big=$work/payload-50mb.zarc
"$root/tests/e2e/variant-payload.sh" "$zarc" "$build/product/payload.zarc" 50 "$big"

size_of() { "$zarc" list "$1" | tail -1 | awk '{print $1}'; }
packed_of() { "$zarc" list "$1" | tail -1 | awk '{print $2}'; }

# walk PAYLOAD ARG: one run of the timing walk; prints its BENCH lines.
walk() {
  local out
  out=$(KELP_BENCH_PAYLOAD=$1 KELP_BENCH_ARG=$2 "$root/tests/e2e/run-scenario.sh" bench_copytime \
        "$build/Setup.exe" "$build/kelp_e2e_driver.exe" "$build/kelp_setres.exe" "$work/artifacts" 2>&1) || {
    printf '%s\n' "$out" | tail -5 >&2
    echo "the timing walk failed" >&2
    return 1
  }
  printf '%s\n' "$out" | grep '^BENCH '
}

# stats: reads numbers, prints "median M (min A, max B, n N)".
stats() {
  sort -n | awk '{v[NR] = $1} END {
    if (NR == 0) { print "no figures"; exit }
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "median %.1f (min %.1f, max %.1f, n %d)", m, v[1], v[NR], NR }'
}

report_expansion() {  # NAME PAYLOAD_FOR_SETUP(empty: built in) ARCHIVE
  local name=$1 payload=$2 archive=$3 i lines expand run
  : >"$work/expand.txt"
  : >"$work/run.txt"
  for ((i = 1; i <= runs; i++)); do
    lines=$(walk "$payload" "")
    expand=$(printf '%s\n' "$lines" | awk '/^BENCH expand_ms/ {print $3}')
    run=$(printf '%s\n' "$lines" | awk '/^BENCH run_ms/ {print $3}')
    [ -n "$expand" ] && [ -n "$run" ] || { echo "no figure from run $i" >&2; exit 1; }
    echo "$expand" >>"$work/expand.txt"
    echo "$run" >>"$work/run.txt"
    echo "  $name run $i: expansion $expand ms, whole run $run ms"
  done
  local size packed median
  size=$(size_of "$archive")
  packed=$(packed_of "$archive")
  median=$(stats <"$work/expand.txt" | awk '{print $2}')
  echo "$name: $size bytes ($packed packed)"
  echo "  expansion ms: $(stats <"$work/expand.txt"), $(awk -v s="$size" -v m="$median" \
    'BEGIN {printf "%.1f MB/s of expanded data", s / 1048576 / (m / 1000)}')"
  echo "  backup answer to shortcut question ms: $(stats <"$work/run.txt")"
}

echo
echo "Inside Setup.exe, $runs runs each. Expansion: from the first file shown in the progress"
echo "dialog to \"Creating Registry Entries...\". The whole run from the backup answer also"
echo "holds up to 2 s that Wine without a window manager spends hiding the question box."
report_expansion "product payload" "" "$build/product/payload.zarc"
report_expansion "50 MB payload" "$big" "$big"

echo
echo "Cancel during the 50 MB copy (click to confirmation box, every 2.5 s, answered No):"
walk "$big" cancel | awk '/^BENCH cancel_response_ms/ {print $3}' >"$work/cancel.txt"
echo "  samples ms: $(tr '\n' ' ' <"$work/cancel.txt")"
echo "cancel response ms: $(stats <"$work/cancel.txt")"
