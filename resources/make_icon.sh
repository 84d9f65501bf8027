#!/usr/bin/env bash
# Draws brevant.ico: a character LCD module (green board, blue panel, two rows of cells)
# at 32x32 and 16x16. Run from this folder after changing the drawing.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

convert -size 32x32 xc:none \
  -fill '#1f7a3a' -draw 'rectangle 0,6 31,25' \
  -fill '#0c3d1c' -draw 'point 2,8 point 29,8 point 2,23 point 29,23' \
  -fill '#202020' -draw 'rectangle 3,9 28,22' \
  -fill '#394ad4' -draw 'rectangle 4,10 27,21' \
  -fill '#ffffff' -draw 'rectangle 6,12 8,15 rectangle 10,12 12,15 rectangle 14,12 16,15 rectangle 18,12 20,15' \
  -fill '#ffffff' -draw 'rectangle 6,17 8,20 rectangle 10,17 12,20' \
  -fill '#ff544d' -draw 'rectangle 14,20 16,20' \
  -fill '#c0c0c0' -draw 'rectangle 5,26 6,28 rectangle 9,26 10,28 rectangle 13,26 14,28 rectangle 17,26 18,28' \
  "PNG32:$tmp/32.png"

convert -size 16x16 xc:none \
  -fill '#1f7a3a' -draw 'rectangle 0,3 15,12' \
  -fill '#394ad4' -draw 'rectangle 2,5 13,10' \
  -fill '#ffffff' -draw 'rectangle 3,6 4,7 rectangle 6,6 7,7 rectangle 9,6 10,7' \
  -fill '#ffffff' -draw 'rectangle 3,9 4,9 rectangle 6,9 7,9' \
  -fill '#c0c0c0' -draw 'point 3,13 point 5,13 point 7,13 point 9,13' \
  "PNG32:$tmp/16.png"

# Two images, the sizes the window class asks for.
convert "$tmp/16.png" "$tmp/32.png" brevant.ico
