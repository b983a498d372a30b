#!/usr/bin/env bash
# Draws the sample application's icon (a swing on an orange tile) with
# ImageMagick and packs 16, 32 and 48 pixel images into SampleApp.ico.
# The icon is committed; run this only to change it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert -size 256x256 xc:none \
  -fill '#e8731a' -draw 'roundrectangle 8,8 247,247 44,44' \
  -fill none -stroke white -strokewidth 14 -draw 'line 40,36 216,36' \
  -strokewidth 10 -draw 'line 84,36 72,176' -draw 'line 172,36 184,176' \
  -stroke none -fill white -draw 'roundrectangle 52,172 204,200 10,10' \
  "$work/icon-256.png"

for size in 16 32 48; do
  convert "$work/icon-256.png" -filter Lanczos -resize ${size}x${size} "$work/icon-$size.png"
done
convert "$work"/icon-16.png "$work"/icon-32.png "$work"/icon-48.png -depth 8 "$here/SampleApp.ico"
