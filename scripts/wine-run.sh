#!/usr/bin/env bash
# Runs a Windows program under Wine and exits with the program's exit code.
#   wine-run.sh PROGRAM [ARGS...]   in $KELP_WINE_PREFIX (made from the template when missing),
#                                   or in a fresh prefix of its own removed afterwards
#   wine-run.sh --fresh-prefix      makes $KELP_WINE_PREFIX anew from the template
#   wine-run.sh --stop              ends the Wine processes of $KELP_WINE_PREFIX
#   wine-run.sh --can-run-32        succeeds when this host runs 32-bit Windows programs
# KELP_WINE_DISPLAY=1 starts Xvfb for programs that need a display.
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
[ "${KELP_WINE_DISPLAY:-0}" = 1 ] && wine_display

# The PE machine field: 14c for i386 programs.
pe_machine() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 0
  [ -n "$pe" ] && od -An -tx2 -j$((pe + 4)) -N2 "$1" 2>/dev/null | tr -d ' '
}
if [ -f "$1" ] && [ "$(pe_machine "$1")" = 014c ] && ! wine_can_run_32; then
  echo "wine-run.sh: $1 is a 32-bit program, and this host's kernel runs no 32-bit binaries" >&2
  exit 126
fi

loader=$(wine_loader)
set +e
"$loader" "$@"
status=$?
set -e
exit "$status"
