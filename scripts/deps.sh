#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, only what is missing.
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev libbenchmark-dev
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32 wine64 xvfb x11-utils imagemagick xdotool fonts-liberation lhasa jlha-utils zstd gzip
          python3 time)
missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi
for p in "${packages[@]}"; do
  pkg=$p
  case $p in wine32) pkg=wine32:i386 ;; esac
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "ok installed" || missing+=("$pkg")
done
if ((${#missing[@]})); then
  echo "deps: installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}" || apt-get install -y -q "${missing[@]}"
fi
