#!/usr/bin/env bash
# Remakes from icon.svg the files derived from it, which are committed so that building needs no
# SVG support: icon-16.png to icon-256.png, and marevo.ico for Windows with its 32 × 32 image in
# 2 colours and its 32 × 32 and 16 × 16 images in 16 colours. Run it after changing icon.svg;
# the tools come with `scripts/setup.sh icons`.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The standard 16 colours only: the 4-bit images hold no others, and icotool would quietly
# change them.
standard=(000000 800000 008000 808000 000080 800080 008080 c0c0c0
    808080 ff0000 00ff00 ffff00 0000ff ff00ff 00ffff ffffff)
for colour in $(grep -oE '"#[0-9a-fA-F]{6}"' icon.svg | tr -d '"#' | tr A-F a-f); do
    [[ " ${standard[*]} " == *" $colour "* ]] || { echo "icon.svg: #$colour is not a standard colour" >&2; exit 1; }
done

for size in 16 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" icon.svg -o "icon-$size.png"
done
# In black and white every colour but white turns black, so the grey text lines stay visible.
sed -E '/#ffffff/!s/fill="#[0-9a-f]{6}"/fill="#000000"/' icon.svg >"$tmp/mono.svg"
rsvg-convert -w 32 -h 32 "$tmp/mono.svg" -o "$tmp/mono-32.png"
icotool -c -o marevo.ico -b 1 "$tmp/mono-32.png" -b 4 icon-32.png -b 4 icon-16.png
