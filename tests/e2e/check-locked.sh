#!/usr/bin/env bash
# check-locked.sh SETUP_EXE: the file held open during the run kept its old
# bytes; every other file of the payload is installed byte for byte.
set -uo pipefail
c=$WINEPREFIX/drive_c
dest="$c/Program Files/KelpFTP"
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=payload-lib.sh
source "$here/payload-lib.sh"
fail=0
with_payload "$KELP_PAYLOAD" || exit 1
same_as_payload "$expected" "$dest" KelpFTP.hlp README.TXT SITES.INI whatsnew.txt || fail=1
same_as_payload "$expected" "$c/windows" vezavu.exe || fail=1
[ "$(cat "$dest/KelpFTP.exe")" = $'KelpFTP 2.60, still running\r' ] || { echo "the held KelpFTP.exe was changed" >&2; fail=1; }
[ "$fail" = 0 ] && echo "locked check passed"
exit "$fail"
