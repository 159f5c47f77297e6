#!/bin/sh
# Our codecs next to lhasa (reading our own streams as -lh5-/-lh1- members), gzip -6
# and zstd -3, on the benchmark corpus. Times are the best of several runs, as CPU
# time (user + system) and wall-clock; MB/s count plain bytes.
#
# usage: bench/compare.sh [BUILD_DIR] [RUNS]   (BUILD_DIR configured with -DKELP_BENCH=ON)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/bench}
runs=${2:-3}
tool=$build/bench/kelp_codec_tool
[ -x "$tool" ] || { echo "build kelp_codec_tool first: cmake -DKELP_BENCH=ON ... && ninja kelp_codec_tool" >&2; exit 2; }
corpus=$build/bench/corpus
python3 "$here/make_corpus.py" "$corpus" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# best_of CMD...: prints the best "cpu wall" seconds of $runs runs (stdout discarded).
best_of() {
    python3 "$here/run_timed.py" "$runs" "$@"
}

row() {  # name direction corpus size coded "cpu wall"
    awk -v n="$1" -v d="$2" -v c="$3" -v s="$4" -v z="$5" -v cpu="${6% *}" -v wall="${6#* }" 'BEGIN{
        mb = s / 1e6; if (cpu < 0.000001) cpu = 0.000001;
        printf "%-12s %-10s %-7s %9.1f %9.1f %7.3f\n", n, d, c, mb / cpu, mb / wall, z / s }'
}

printf "%-12s %-10s %-7s %9s %9s %7s\n" codec direction corpus "MB/s cpu" "MB/s wall" ratio
for c in text exe random; do
    in=$corpus/$c
    size=$(wc -c <"$in")
    for m in rle lzh lh5; do
        t=$(best_of "$tool" compress $m "$in" "$work/$c.$m")
        coded=$(wc -c <"$work/$c.$m")
        row "kelp-$m" compress $c "$size" "$coded" "$t"
        t=$(best_of "$tool" expand $m "$work/$c.$m" /dev/null "$size")
        row "kelp-$m" expand $c "$size" "$coded" "$t"
    done
    if command -v lhasa >/dev/null; then
        python3 "$here/lha_wrap.py" -lh5- "$work/$c.lh5" "$in" "$work/$c.lh5.lzh"
        python3 "$here/lha_wrap.py" -lh1- "$work/$c.lzh" "$in" "$work/$c.lh1.lzh"
        lhasa pq "$work/$c.lh5.lzh" | cmp -s - "$in" || echo "lhasa did not restore $c (-lh5-)" >&2
        lhasa pq "$work/$c.lh1.lzh" | cmp -s - "$in" || echo "lhasa did not restore $c (-lh1-)" >&2
        t=$(best_of lhasa pq "$work/$c.lh5.lzh")
        row "lhasa-lh5" expand $c "$size" "$(wc -c <"$work/$c.lh5")" "$t"
        t=$(best_of lhasa pq "$work/$c.lh1.lzh")
        row "lhasa-lh1" expand $c "$size" "$(wc -c <"$work/$c.lzh")" "$t"
    fi
    gzip -6 -c "$in" >"$work/$c.gz"
    t=$(best_of sh -c "gzip -6 -c '$in'")
    row "gzip-6" compress $c "$size" "$(wc -c <"$work/$c.gz")" "$t"
    t=$(best_of gzip -dc "$work/$c.gz")
    row "gzip-6" expand $c "$size" "$(wc -c <"$work/$c.gz")" "$t"
    if command -v zstd >/dev/null; then
        zstd -3 -q -c "$in" >"$work/$c.zst"
        t=$(best_of sh -c "zstd -3 -q -c '$in'")
        row "zstd-3" compress $c "$size" "$(wc -c <"$work/$c.zst")" "$t"
        t=$(best_of zstd -dqc "$work/$c.zst")
        row "zstd-3" expand $c "$size" "$(wc -c <"$work/$c.zst")" "$t"
    fi
done
