#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests, fuzzers (briefly),
# Windows tests under Wine and the end-to-end scenarios of Setup.exe.
set -euo pipefail
cd "$(dirname "$0")"
[ "$(id -u)" = 0 ] && scripts/deps.sh
jobs=$(nproc)

echo "== native build and unit tests"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C build/native
ctest --test-dir build/native --output-on-failure -j "$jobs"

if [ -d fuzz ] && [ -f fuzz/CMakeLists.txt ]; then
  # Also the build of the code paths without x86 vector instructions, as the i686 programs have them.
  echo "== ASan/UBSan build: unit tests and fuzzers"
  cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
        -DCMAKE_CXX_COMPILER=clang++ -DKELP_FUZZ=ON \
        -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -DKELP_PORTABLE" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
  ninja -C build/fuzz
  ctest --test-dir build/fuzz --output-on-failure -j "$jobs"
fi

echo "== Windows build, tests under Wine"
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
ninja -C build/win
if [ -f build/win/CTestTestfile.cmake ]; then
  # Each scenario has a prefix and a display of its own and spends most of its
  # time waiting for Wine and windows, so a few run side by side.
  ctest --test-dir build/win --output-on-failure -j 3
fi
echo "== all tests passed"
