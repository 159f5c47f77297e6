# Sourced by scripts and tests that run Windows programs under Wine.
#   wine_display          makes sure DISPLAY points at an X server (starts Xvfb if none)
#   wine_private_display  starts an Xvfb of its own, exports DISPLAY and KELP_XVFB_PID
#   wine_loader           prints the Wine loader that works on this host
#   wine_template         makes the template prefix once (~15 s), prints its path
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

# Some kernels refuse 32-bit binaries, and then Wine's 32-bit loader cannot start
# even for 64-bit programs: only the 64-bit loader works there.
wine_can_run_32() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

wine_loader() {
  if wine_can_run_32 || [ ! -x /usr/lib/wine/wine64 ]; then
    echo wine
  else
    export WINELOADER=/usr/lib/wine/wine64
    echo /usr/lib/wine/wine64
  fi
}

wine_template() {
  local t=$KELP_WINE_ROOT/template
  mkdir -p "$KELP_WINE_ROOT"
  # One maker at a time; a template without a Windows directory is made again.
  (
    flock 9
    if [ ! -f "$t/.ready" ] || [ ! -d "$t/drive_c/windows" ]; then
      rm -rf "$t"; mkdir -p "$t"
      WINEPREFIX=$t "$(wine_loader)" wineboot -i >/dev/null 2>&1 || true
      WINEPREFIX=$t wineserver -w || true
      if [ -d "$t/drive_c/windows" ]; then touch "$t/.ready"; else echo "wine-env: cannot make a Wine prefix" >&2; fi
    fi
  ) 9>"$KELP_WINE_ROOT/template.lock"
  echo "$t"
}

wine_fresh() {
  local dir=$1 t
  t=$(wine_template)
  rm -rf "$dir"; mkdir -p "$(dirname "$dir")"
  cp -a "$t" "$dir"
  rm -f "$dir/.ready"
  # Wine links the user's Desktop, Documents, ... to $HOME, which every prefix
  # would share: each prefix gets folders of its own, and $HOME stays untouched.
  local l
  for l in "$dir"/drive_c/users/*/*; do
    if [ -L "$l" ]; then rm "$l" && mkdir "$l"; fi
  done
  export WINEPREFIX=$dir
}

# A display no other program shares, so nothing else lands in screenshots.
wine_private_display() {
  KELP_XVFB_PID=
  local n
  for n in $(seq $((300 + RANDOM % 200)) 700); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    KELP_XVFB_PID=$!
    export DISPLAY=:$n
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
    xdpyinfo >/dev/null 2>&1 && return 0
    kill "$KELP_XVFB_PID" 2>/dev/null; KELP_XVFB_PID=
  done
  echo "no X display" >&2
  return 1
}
