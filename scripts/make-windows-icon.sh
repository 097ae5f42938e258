#!/usr/bin/env bash
# Draws the program's Windows icon (resources/windows/zelvotta.ico, 16, 32 and 48 pixels)
# with ImageMagick: the round face the Linux tray icon shows. The icon is committed, so
# building needs no ImageMagick; rerun this after changing the drawing.
set -euo pipefail
cd "$(dirname "$0")/.."
convert -size 64x64 xc:none \
  -fill '#6cc07a' -stroke '#1d4e2f' -strokewidth 4 -draw 'circle 32,32 32,4' \
  -fill '#1d4e2f' -stroke none -draw 'ellipse 24,27 4,5 0,360' -draw 'ellipse 40,27 4,5 0,360' \
  -fill none -stroke '#1d4e2f' -strokewidth 4 -draw 'arc 18,26 46,48 20,160' \
  -define icon:auto-resize=48,32,16 resources/windows/zelvotta.ico
