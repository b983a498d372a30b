#!/usr/bin/env bash
# Draws the application icon (a steaming cup on a rounded blue tile) with
# ImageMagick and packs 16, 24, 32, 48 and 256 pixel images into app.ico.
# The icon is committed; run this only to change it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 256x256 xc:none \
  -fill '#1d5fa8' -draw 'roundrectangle 8,8 247,247 44,44' \
  -fill '#2f7fd6' -draw 'roundrectangle 8,8 247,180 44,44' \
  -fill '#1d5fa8' -draw 'rectangle 8,130 247,180' \
  -fill white -draw 'roundrectangle 64,112 172,210 14,14' \
  -fill none -stroke white -strokewidth 14 -draw 'ellipse 178,150 22,26 -90,90' \
  -stroke none -fill '#1d5fa8' -draw 'rectangle 78,126 158,136' \
  -fill none -stroke '#e8f1fb' -strokewidth 9 -draw "stroke-linecap round" \
  -draw 'path "M 92,92 C 80,74 104,62 92,40"' \
  -draw 'path "M 120,92 C 108,74 132,62 120,40"' \
  -draw 'path "M 148,92 C 136,74 160,62 148,40"' \
  -stroke none -fill white -draw 'roundrectangle 48,214 188,226 6,6' \
  "$work/icon-256.png"

for size in 16 24 32 48; do
  convert "$work/icon-256.png" -filter Lanczos -resize ${size}x${size} "$work/icon-$size.png"
done
convert "$work"/icon-16.png "$work"/icon-24.png "$work"/icon-32.png "$work"/icon-48.png "$work"/icon-256.png \
  -depth 8 "$here/app.ico"
