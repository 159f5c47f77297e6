#!/usr/bin/env bash
# variant-payload.sh ZARC BASE_PAYLOAD MEGABYTES OUT: the installer's payload with
# MEGABYTES of deterministic mixed content appended to its help file, packed
# like the real one (same entries in the same order, method LZH), so a run
# takes long enough to watch and to interrupt.
set -euo pipefail
zarc=$1 base=$2 mb=$3 out=$(realpath -m "$4")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
"$zarc" extract "$base" -C "$stage" >/dev/null
python3 "$here/mixed-data.py" $((mb * 1024 * 1024)) "$stage/extra"
cat "$stage/extra" >>"$stage/KelpFTP.hlp"
rm "$stage/extra"
rm -f "$out"
names=$("$zarc" list "$base" | awk 'NR > 1 && $NF != "" && $2 ~ /^[0-9]+$/ && $3 ~ /^[A-Z]+$/ {print $NF}')
(cd "$stage" && "$zarc" create "$out" -m lzh $names >/dev/null)
