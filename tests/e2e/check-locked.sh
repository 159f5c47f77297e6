#!/usr/bin/env bash
# check-locked.sh SETUP_EXE: the file held open during the run kept its old
# bytes; every other file of the payload is installed byte for byte.
set -uo pipefail
c=$WINEPREFIX/drive_c
dest="$c/Program Files/KelpFTP"
build=$(dirname "$1")
zarc=
for z in "${KELP_ZARC:-}" "$build/host-zarc/zarc" "$build/../native/zarc" "$build/../../native/zarc" "$(command -v zarc || true)"; do
  [ -n "$z" ] && [ -x "$z" ] && { zarc=$z; break; }
done
expected=$(mktemp -d)
trap 'rm -rf "$expected"' EXIT
fail=0
"$zarc" extract "$build/product/payload.zarc" -C "$expected" >/dev/null || { echo "cannot expand the payload" >&2; exit 1; }
for f in KelpFTP.hlp README.TXT SITES.INI whatsnew.txt; do
  cmp -s "$expected/$f" "$dest/$f" || { echo "$f differs from the payload" >&2; fail=1; }
done
cmp -s "$expected/vezavu.exe" "$c/windows/vezavu.exe" || { echo "vezavu.exe differs from the payload" >&2; fail=1; }
[ "$(cat "$dest/KelpFTP.exe")" = $'KelpFTP 2.60, still running\r' ] || { echo "the held KelpFTP.exe was changed" >&2; fail=1; }
[ "$fail" = 0 ] && echo "locked check passed"
exit "$fail"
