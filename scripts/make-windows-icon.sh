#!/usr/bin/env bash
# Draws the program's icons with ImageMagick: the round face the Linux tray icon shows,
# as the Windows icon (resources/windows/zelvotta.ico, 16, 32 and 48 pixels, from the
# drawing at 64) and as the Linux menu icons (resources/linux/icons/zelvotta-N.png, 16 to
# 256 pixels, from the drawing at 256, so the large ones stay sharp). The icons are
# committed, so building needs no ImageMagick; rerun this after changing the drawing.
set -euo pipefail
cd "$(dirname "$0")/.."

# The face on a 64-pixel canvas, in ImageMagick's drawing language.
face='fill "#6cc07a" stroke "#1d4e2f" stroke-width 4 circle 32,32 32,4
fill "#1d4e2f" stroke none ellipse 24,27 4,5 0,360 ellipse 40,27 4,5 0,360
fill none stroke "#1d4e2f" stroke-width 4 arc 18,26 46,48 20,160'

# draw SIZE OPTIONS... OUT: the face scaled to SIZE pixels, then OPTIONS, written to OUT.
draw() {
  local size="$1"
  shift
  convert -size "${size}x${size}" xc:none -draw "affine $((size / 64)),0,0,$((size / 64)),0,0 $face" "$@"
}

draw 64 -define icon:auto-resize=48,32,16 resources/windows/zelvotta.ico

mkdir -p resources/linux/icons
master="$(mktemp --suffix=.png)"
trap 'rm -f "$master"' EXIT
draw 256 "$master"
for size in 16 32 48 64 128 256; do
  # No time stamps in the files, so redrawing an unchanged face changes no file.
  convert "$master" -resize "${size}x${size}" -strip -define png:exclude-chunks=date,time \
    "PNG32:resources/linux/icons/zelvotta-$size.png"
done
