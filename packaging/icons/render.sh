#!/usr/bin/env bash
# Renders vernolat.svg into the PNG sizes of the hicolor icon theme. Run by hand after changing
# the SVG and commit the PNGs: the build needs no SVG renderer. Uses ImageMagick (convert).
set -euo pipefail
cd "$(dirname "$0")"
big="$(mktemp --suffix=.png)"
trap 'rm -f "$big"' EXIT
# Drawn once at 1024 px and scaled down, which keeps the small sizes' edges soft.
convert -background none -density 384 vernolat.svg "$big"
for size in 16 22 24 32 48 64 128 256; do
    convert "$big" -filter Lanczos -resize "${size}x${size}" -strip "PNG32:vernolat-$size.png"
done
