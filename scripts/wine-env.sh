# Sourced by scripts and tests that run Windows programs under Wine.
#   wine_display          makes sure DISPLAY points at an X server (starts Xvfb if none)
#   wine_template         makes the template prefix once per build tree (~15 s)
#   wine_fresh DIR        copies the template into DIR and exports WINEPREFIX=DIR
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree=d;mshtml=d;winemenubuilder.exe=d"}
KELP_WINE_ROOT=${KELP_WINE_ROOT:-${TMPDIR:-/tmp}/kelp-wine}

wine_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n=${KELP_XVFB_DISPLAY:-97}
  export DISPLAY=:$n
  if ! xdpyinfo >/dev/null 2>&1; then
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
}

wine_template() {
  local t=$KELP_WINE_ROOT/template
  if [ ! -f "$t/.ready" ]; then
    rm -rf "$t"; mkdir -p "$t"
    WINEPREFIX=$t wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX=$t wineserver -w
    touch "$t/.ready"
  fi
  echo "$t"
}

wine_fresh() {
  local dir=$1 t
  t=$(wine_template)
  rm -rf "$dir"; mkdir -p "$(dirname "$dir")"
  cp -a "$t" "$dir"
  export WINEPREFIX=$dir
}
