#!/usr/bin/env bash
# run-checks.sh PROGRAM: runs a Windows checks program in a fresh prefix on an X
# display of its own (its windows stay hidden) and passes on its exit code.
set -uo pipefail
program=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../scripts/wine-env.sh
source "$here/../../scripts/wine-env.sh"
if /usr/lib/wine/wine --version >/dev/null 2>&1; then loader=wine
else export WINELOADER=/usr/lib/wine/wine64; loader=/usr/lib/wine/wine64; fi
work=$(mktemp -d "${TMPDIR:-/tmp}/kelp-checks.XXXXXX")
xpid=
trap '[ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null; [ -n "$xpid" ] && kill "$xpid" 2>/dev/null; rm -rf "$work"' EXIT
wine_private_display || exit 1
xpid=$KELP_XVFB_PID
wine_fresh "$work/prefix" >/dev/null
cp "$program" "$work/prefix/drive_c/checks.exe"
cd "$work/prefix/drive_c"
"$loader" checks.exe
