#!/usr/bin/env bash
# check-cancelcopy.sh SETUP_EXE: after a cancel confirmed during the copy, every
# file of the (big) payload is installed byte for byte; the driver has checked
# the log, the registry and the shortcuts.
set -uo pipefail
c=$WINEPREFIX/drive_c
payload=$c/setup/payload.zarc
build=$(dirname "$1")
zarc=
for z in "${KELP_ZARC:-}" "$build/host-zarc/zarc" "$build/../native/zarc" "$build/../../native/zarc" "$(command -v zarc || true)"; do
  [ -n "$z" ] && [ -x "$z" ] && { zarc=$z; break; }
done
expected=$(mktemp -d)
trap 'rm -rf "$expected"' EXIT
fail=0
"$zarc" extract "$payload" -C "$expected" >/dev/null || { echo "cannot expand $payload" >&2; exit 1; }
for f in KelpFTP.exe KelpFTP.hlp README.TXT SITES.INI whatsnew.txt; do
  cmp -s "$expected/$f" "$c/Program Files/KelpFTP/$f" || { echo "$f differs from the payload" >&2; fail=1; }
done
cmp -s "$expected/vezavu.exe" "$c/windows/vezavu.exe" || { echo "vezavu.exe differs from the payload" >&2; fail=1; }
[ "$(stat -c %s "$c/Program Files/KelpFTP/KelpFTP.hlp")" -gt 4000000 ] || { echo "not the big payload" >&2; fail=1; }
[ "$fail" = 0 ] && echo "cancelcopy check passed"
exit "$fail"
