#!/bin/sh
# Peak resident memory of zarc on a 200 MB archive: create (LH5, the large random
# file falls back to stored) and extract, which must stay under 16 MB.
#
# usage: bench/memory.sh [ZARC]   (default: build/native/zarc)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
zarc=${1:-$here/../build/native/zarc}
[ -x "$zarc" ] || { echo "no zarc at $zarc" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
limit_kb=16384

python3 "$here/make_corpus.py" "$work/corpus" >/dev/null
mkdir -p "$work/in"
python3 - "$work/in/noise.bin" <<'PY'
import sys, hashlib
# 184 MB of deterministic incompressible bytes, written in 1 MB pieces.
with open(sys.argv[1], "wb") as f:
    block = hashlib.sha256(b"kelp").digest()
    for i in range(184):
        piece = bytearray()
        while len(piece) < 1 << 20:
            block = hashlib.sha256(block).digest()
            piece += block * 1
        f.write(bytes(piece[: 1 << 20]))
PY
for i in 1 2 3 4; do cat "$work/corpus/exe" >>"$work/in/program.exe"; cat "$work/corpus/text" >>"$work/in/manual.txt"; done

/usr/bin/time -f "%M" -o "$work/create.rss" "$zarc" create "$work/big.zarc" -m lh5 "$work/in"
size=$(wc -c <"$work/big.zarc")
mkdir -p "$work/out"
/usr/bin/time -f "%M" -o "$work/extract.rss" "$zarc" extract "$work/big.zarc" -C "$work/out"
cmp "$work/in/noise.bin" "$work/out/noise.bin"
cmp "$work/in/program.exe" "$work/out/program.exe"
cmp "$work/in/manual.txt" "$work/out/manual.txt"

create_kb=$(tail -n 1 "$work/create.rss")
extract_kb=$(tail -n 1 "$work/extract.rss")
echo "archive: $size bytes"
echo "zarc create  peak RSS: $create_kb KB"
echo "zarc extract peak RSS: $extract_kb KB (limit $limit_kb KB)"
[ "$extract_kb" -lt "$limit_kb" ] || { echo "extract exceeds the limit" >&2; exit 1; }
