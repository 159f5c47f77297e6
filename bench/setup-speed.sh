#!/usr/bin/env bash
# setup-speed.sh [BUILD_DIR] [RUNS]
# How long the real Setup.exe takes under Wine to expand its payload, from the
# answer to the backup question to the shortcut question at the run's end
# (the registry step in between takes a few ms), for the product's own payload
# and for a 50 MB one; and how quickly the progress dialog's Cancel brings up
# its question while the 50 MB payload is written.
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
    -DKELP_E2E_TWIN=ON ${KELP_ZARC:+-DKELP_HOST_ZARC=$KELP_ZARC} >/dev/null
  cmake --build "$build" --target Setup kelp_e2e_driver kelp_setres >/dev/null
fi
zarc=${KELP_ZARC:-$build/host-zarc/zarc}
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
  local name=$1 payload=$2 archive=$3 times=() i t
  for ((i = 1; i <= runs; i++)); do
    t=$(walk "$payload" "" | awk '/^BENCH run_ms/ {print $3}')
    [ -n "$t" ] || { echo "no figure from run $i" >&2; exit 1; }
    times+=("$t")
    echo "  $name run $i: $t ms"
  done
  local size packed median
  size=$(size_of "$archive")
  packed=$(packed_of "$archive")
  median=$(printf '%s\n' "${times[@]}" | stats)
  echo "$name: $size bytes ($packed packed): expansion ms $median"
  printf '%s\n' "${times[@]}" | sort -n | awk -v s="$size" '{v[NR] = $1} END {
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%s\n", "  = " sprintf("%.1f", s / 1048576 / (m / 1000)) " MB/s of expanded data (median)" }'
}

echo
echo "Expansion inside Setup.exe (backup answer to shortcut question), $runs runs each:"
report_expansion "product payload" "" "$build/product/payload.zarc"
report_expansion "50 MB payload" "$big" "$big"

echo
echo "Cancel during the 50 MB copy (click to confirmation box, once a second, answered No):"
walk "$big" cancel | awk '/^BENCH cancel_response_ms/ {print $3}' >"$work/cancel.txt"
echo "  samples ms: $(tr '\n' ' ' <"$work/cancel.txt")"
echo "cancel response ms: $(stats <"$work/cancel.txt")"
