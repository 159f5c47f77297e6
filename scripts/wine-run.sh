#!/usr/bin/env bash
# Runs a Windows program under Wine and exits with the program's exit code.
#   wine-run.sh PROGRAM [ARGS...]   in $KELP_WINE_PREFIX (made from the template when missing),
#                                   or in a fresh prefix of its own removed afterwards
#   wine-run.sh --fresh-prefix      makes $KELP_WINE_PREFIX anew from the template and keeps
#                                   its server up until --stop (a cold start costs seconds a program)
#   wine-run.sh --stop              ends the Wine processes of $KELP_WINE_PREFIX
#   wine-run.sh --can-run-32        succeeds when this host runs 32-bit Windows programs
# GUI programs (PE subsystem 2) get a display, Xvfb when none is there; KELP_WINE_DISPLAY=1
# asks for one for any program.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-env.sh
source "$here/wine-env.sh"

case "${1:-}" in
  "") echo "usage: wine-run.sh PROGRAM [ARGS...]" >&2; exit 2 ;;
  --can-run-32) wine_can_run_32; exit ;;
  --fresh-prefix)
    : "${KELP_WINE_PREFIX:?set KELP_WINE_PREFIX}"
    [ -d "$KELP_WINE_PREFIX" ] && WINEPREFIX=$KELP_WINE_PREFIX wineserver -k 2>/dev/null || true
    wine_fresh "$KELP_WINE_PREFIX"
    [ -d "$KELP_WINE_PREFIX/drive_c/windows" ]
    # The server and the prefix's own services start here, detached from our output:
    # started by a test, they would hold its output open for as long as they live.
    WINEPREFIX=$KELP_WINE_PREFIX wineserver -p </dev/null >/dev/null 2>&1
    WINEPREFIX=$KELP_WINE_PREFIX "$(wine_loader)" wineboot </dev/null >/dev/null 2>&1 || true
    exit ;;
  --stop)
    : "${KELP_WINE_PREFIX:?set KELP_WINE_PREFIX}"
    WINEPREFIX=$KELP_WINE_PREFIX wineserver -k 2>/dev/null || true
    exit 0 ;;
esac

own_prefix=
if [ -n "${KELP_WINE_PREFIX:-}" ]; then
  [ -d "$KELP_WINE_PREFIX/drive_c/windows" ] || wine_fresh "$KELP_WINE_PREFIX"
  export WINEPREFIX=$KELP_WINE_PREFIX
else
  own_prefix=$(mktemp -d "${TMPDIR:-/tmp}/kelp-wine-run.XXXXXX")
  wine_fresh "$own_prefix/prefix"
  trap 'WINEPREFIX=$own_prefix/prefix wineserver -k 2>/dev/null || true; rm -rf "$own_prefix"' EXIT
fi

# A 16-bit field of the PE headers, at an offset from the "PE" signature, in hex.
pe_field() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 0
  [ -n "$pe" ] && od -An -tx2 -j$((pe + $2)) -N2 "$1" 2>/dev/null | tr -d ' '
}
pe_machine() { pe_field "$1" 4; }     # 014c: i386
pe_subsystem() { pe_field "$1" 92; }  # 0002: GUI
if [ -f "$1" ] && [ "$(pe_machine "$1")" = 014c ] && ! wine_can_run_32; then
  echo "wine-run.sh: $1 is a 32-bit program, and this host's kernel runs no 32-bit binaries" >&2
  exit 126
fi

if [ "${KELP_WINE_DISPLAY:-0}" = 1 ] || { [ -f "$1" ] && [ "$(pe_subsystem "$1")" = 0002 ]; }; then
  wine_display
fi

loader=$(wine_loader)
set +e
"$loader" "$@"
status=$?
set -e
exit "$status"
