#!/usr/bin/env bash
# run-scenario.sh SCENARIO SETUP_EXE DRIVER_EXE SETRES_EXE ARTIFACT_DIR
# One end-to-end scenario: a fresh Wine prefix and an X display of its own, the
# real Setup.exe started in it, the driver walking it; screenshots become PNGs.
set -uo pipefail
scenario=$1 setup=$2 driver=$3 setres=$4 artifacts=$5
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../scripts/wine-env.sh
source "$here/../../scripts/wine-env.sh"

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  loader=wine
else
  # This kernel runs no 32-bit programs: the 64-bit loader runs the x86_64 build.
  export WINELOADER=/usr/lib/wine/wine64
  loader=/usr/lib/wine/wine64
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kelp-e2e-$scenario.XXXXXX")
xpid=
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# An X server of our own, so no other window lands in the screenshots.
wine_private_display || exit 1
xpid=$KELP_XVFB_PID

wine_fresh "$work/prefix" >/dev/null
# Wine has no Times New Roman; the metric-compatible Liberation Serif stands in.
cat >>"$WINEPREFIX/user.reg" <<'REG'

[Software\\Wine\\Fonts\\Replacements] 1700000000
"Times New Roman"="Liberation Serif"
REG
# KELP_E2E_DPI=144 runs the scenario at 150 % (layout must not clip there either).
if [ -n "${KELP_E2E_DPI:-}" ]; then
  sed -i "s/^\"LogPixels\"=dword:.*/\"LogPixels\"=dword:$(printf %08x "$KELP_E2E_DPI")/" \
    "$WINEPREFIX/user.reg" "$WINEPREFIX/system.reg"
fi

# The native zarc and the payload, for hooks that expand or repack it.
build=$(dirname "$setup")
if [ -z "${KELP_ZARC:-}" ]; then
  for z in "$build/../host-zarc/zarc" "$build/host-zarc/zarc" "$(command -v zarc || true)"; do
    [ -n "$z" ] && [ -x "$z" ] && { KELP_ZARC=$(realpath "$z"); break; }
  done
fi
export KELP_ZARC KELP_PAYLOAD=$build/product/payload.zarc
# shellcheck source=payload-lib.sh
source "$here/payload-lib.sh"

dir=$WINEPREFIX/drive_c/setup
mkdir -p "$dir" "$work/shots"
cp "$setup" "$dir/Setup.exe"
cp "$driver" "$dir/kelp_e2e_driver.exe"
cp "$setres" "$dir/kelp_setres.exe"
cd "$dir"

# setup_variant KEY=VALUE...: rewrites Setup.exe's control values in place.
setup_variant() {
  local expr=() kv
  for kv in "$@"; do expr+=(-e "s/^${kv%%=*}=.*/$kv/"); done
  sed "${expr[@]}" "$here/../../resources/SetupControl.txt" >variant.txt
  "$loader" kelp_setres.exe Setup.exe SETUPCONTROL variant.txt || { echo "cannot make the variant" >&2; exit 1; }
}

# prepare-SCENARIO.sh, when present, is sourced here in the prefix's setup
# directory before Setup.exe starts: it may call setup_variant, put files or
# registry keys in place, or set $arg, the driver's third argument.
arg=
if [ -f "$here/prepare-$scenario.sh" ]; then
  # shellcheck source=/dev/null
  source "$here/prepare-$scenario.sh"
fi

"$loader" Setup.exe >"$work/setup.log" 2>&1 &
spid=$!
"$loader" kelp_e2e_driver.exe "$scenario" "Z:$(echo "$work/shots" | tr / '\\')" $arg
rc=$?

# The installer must end by itself once the scenario has closed it.
for _ in $(seq 200); do kill -0 "$spid" 2>/dev/null || break; sleep 0.05; done
if kill -0 "$spid" 2>/dev/null; then
  echo "Setup.exe did not end" >&2
  rc=1
else
  wait "$spid"; src=$?
  if [ "$rc" = 0 ] && [ "$src" != 0 ]; then echo "Setup.exe exit code $src" >&2; rc=1; fi
fi

# What a scenario leaves behind is checked in its prefix before it goes away.
if [ "$rc" = 0 ] && [ -x "$here/check-$scenario.sh" ] && [ -z "${KELP_E2E_DPI:-}" ]; then
  "$here/check-$scenario.sh" "$setup" || rc=1
fi

mkdir -p "$artifacts"
# What Wine printed for the installer, kept when a scenario fails.
[ "$rc" = 0 ] || cp "$work/setup.log" "$artifacts/$scenario${KELP_E2E_DPI:+-${KELP_E2E_DPI}dpi}-setup.log" 2>/dev/null
for bmp in "$work"/shots/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "$artifacts/$scenario${KELP_E2E_DPI:+-${KELP_E2E_DPI}dpi}-$(basename "${bmp%.bmp}").png"
done
exit "$rc"
