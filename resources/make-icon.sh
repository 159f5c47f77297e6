#!/usr/bin/env bash
# Redraws Setup.ico (committed): a blue-to-black tile with a white "K", 16/32/48 px.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
for s in 16 32 48; do
  convert -size ${s}x${s} gradient:'#0000ff-#000000' \
    -gravity center -fill white -font DejaVu-Serif-Bold-Italic -pointsize $((s * 3 / 4)) -annotate 0 'K' \
    "$tmp/k$s.png"
done
convert "$tmp/k16.png" "$tmp/k32.png" "$tmp/k48.png" Setup.ico
rm -rf "$tmp"
