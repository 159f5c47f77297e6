#!/usr/bin/env bash
# Builds the Windows programs and runs Setup.exe under Wine.
# With a usable X display the installer simply starts there. Without one it runs
# under an Xvfb of its own, the end-to-end driver walks the default path (welcome,
# destination, create the directory, backup, finish) and the screenshots of every
# page land in build/win/artifacts/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
root=$PWD

if [ "$(id -u)" = 0 ] && [ -x scripts/deps.sh ]; then scripts/deps.sh; fi

build=build/win
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
fi
cmake --build "$build"

# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  loader=wine; bin=$build
else
  # This kernel runs no 32-bit programs: run the x86_64 build of the same sources.
  export WINELOADER=/usr/lib/wine/wine64
  loader=/usr/lib/wine/wine64; bin=$build/x86_64
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  prefix=${KELP_WINE_ROOT:-${TMPDIR:-/tmp}/kelp-wine}/run
  [ -d "$prefix/drive_c/windows" ] || wine_fresh "$prefix" >/dev/null
  export WINEPREFIX=$prefix
  mkdir -p "$prefix/drive_c/setup"
  cp "$bin/Setup.exe" "$prefix/drive_c/setup/"
  cd "$prefix/drive_c/setup"
  exec "$loader" Setup.exe
fi

mkdir -p "$build/artifacts"
"$root/tests/e2e/run-scenario.sh" missing "$bin/Setup.exe" "$bin/kelp_e2e_driver.exe" "$bin/kelp_setres.exe" \
  "$root/$build/artifacts"
echo "screenshots:"
ls -1 "$root/$build/artifacts"/missing-*.png
