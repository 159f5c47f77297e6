#!/usr/bin/env bash
# zarc.exe under Wine: create an archive of a small tree with each method, list
# and extract it, compare what comes out with what went in; test a good and a bad one.
#   zarc-wine.sh WINE_RUN ZARC_EXE
set -euo pipefail
wine_run=$1 zarc=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/kelp-zarc-wine.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$zarc" zarc.exe

mkdir -p in/sub
printf 'Read me first.\r\n' >in/README.TXT
head -c 20000 /dev/urandom >in/noise.bin
for i in $(seq 400); do printf 'line %d of a repetitive text file\r\n' "$i"; done >in/sub/text.txt
: >in/sub/empty.txt

run() { bash "$wine_run" zarc.exe "$@"; }

bash "$wine_run" zarc.exe --help | grep -q "usage: zarc" || { echo "zarc --help printed no usage"; exit 1; }
# "best" picks RLE, LZH or LH5 per entry; "non" stores.
for method in non best; do
  rm -rf out "arc-$method.zarc"
  run create "arc-$method.zarc" -m "$method" in >/dev/null
  listing=$(run list "arc-$method.zarc")
  for name in 'README.TXT' 'noise.bin' 'sub\text.txt' 'sub\empty.txt'; do
    grep -qF "$name" <<<"$listing" || { echo "$method: $name missing from the listing:"; echo "$listing"; exit 1; }
  done
  run extract "arc-$method.zarc" -C out >/dev/null
  diff -r in out || { echo "$method: extracted tree differs"; exit 1; }
  echo "$method: listed and extracted"
done
run test arc-best.zarc >/dev/null
echo "best: tested"

# A damaged archive must fail its test with a non-zero status.
cp arc-best.zarc bad.zarc
printf '\xff\xff\xff\xff' | dd of=bad.zarc bs=1 seek=200 conv=notrunc status=none
if run test bad.zarc >/dev/null 2>&1; then echo "a damaged archive passed its test"; exit 1; fi
echo "damaged archive: rejected"
