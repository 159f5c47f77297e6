#!/usr/bin/env bash
# check-cancelcopy.sh SETUP_EXE: after a cancel confirmed during the copy, every
# file of the (big) payload is installed byte for byte; the driver has checked
# the log, the registry and the shortcuts.
set -uo pipefail
c=$WINEPREFIX/drive_c
payload=$c/setup/payload.zarc
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=payload-lib.sh
source "$here/payload-lib.sh"
fail=0
with_payload "$payload" || exit 1
same_as_payload "$expected" "$c/Program Files/KelpFTP" KelpFTP.exe KelpFTP.hlp README.TXT SITES.INI whatsnew.txt || fail=1
same_as_payload "$expected" "$c/windows" vezavu.exe || fail=1
[ "$(stat -c %s "$c/Program Files/KelpFTP/KelpFTP.hlp")" -gt 4000000 ] || { echo "not the big payload" >&2; fail=1; }
[ "$fail" = 0 ] && echo "cancelcopy check passed"
exit "$fail"
