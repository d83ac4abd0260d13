#!/usr/bin/env bash
# Renders the PNG sizes of the application icon. ImageMagick on Debian has no
# SVG reader without librsvg's tools, so the drawing below repeats
# tablescope.svg in ImageMagick's own draw primitives (same coordinates).
# Run it after changing the SVG and commit the PNGs.
set -euo pipefail
cd "$(dirname "$0")"
draw="affine 4 0 0 4 0 0
fill white stroke '#2f5d8a' stroke-width 8
roundrectangle 16,28 212,196 14,14
stroke none fill '#3b7dd8'
path 'M20 42 a10 10 0 0 1 10 -10 h168 a10 10 0 0 1 10 10 v26 h-188 z'
fill none stroke '#9bb4cf' stroke-width 5
path 'M20 110 h188 M20 152 h188'
path 'M78 68 v124 M144 68 v124'
fill '#e8f1fbd9' stroke '#1f3f63' stroke-width 14
circle 160,156 160,200
stroke-linecap round stroke-width 24
line 192,190 236,234
stroke '#ffffff' stroke-width 8 fill none
path 'M140 146 a24 24 0 0 1 22 -16'"
big=$(mktemp --suffix=.png)
trap 'rm -f "$big"' EXIT
convert -size 1024x1024 xc:none -draw "$draw" "$big"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "${size}x${size}"
  convert "$big" -resize "${size}x${size}" -strip "PNG32:${size}x${size}/tablescope.png"
done
