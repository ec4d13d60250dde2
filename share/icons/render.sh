#!/usr/bin/env bash
# Regenerates the program icon's raster files from the SVG sources:
#   png/cmdgen-<N>.png  N = 128 96 72 64 48 32 24 16, 8-bit RGBA
#   cmdgen.ico          the same eight images as 32-bit BMP entries
#   ../../docs/icon-sizes.png  all sizes side by side, on a light and a dark strip
# The results are committed, so a normal build needs none of these tools.
# Needs rsvg-convert (librsvg2-bin) and icotool (icoutils).
#
# 32 px and up come from cmdgen.svg; 24 px from cmdgen-small.svg, whose parts
# are thicker; 16 px from cmdgen-16.svg, drawn on the pixel grid.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cd "$here"

for tool in rsvg-convert icotool; do
  command -v "$tool" >/dev/null || {
    echo "render.sh: $tool is missing (scripts/install-deps installs it)" >&2
    exit 1
  }
done

sizes=(128 96 72 64 48 32 24 16)
source_for() {
  case $1 in
    16) echo cmdgen-16.svg ;;
    24) echo cmdgen-small.svg ;;
    *) echo cmdgen.svg ;;
  esac
}

mkdir -p png
pngs=()
for n in "${sizes[@]}"; do
  out=png/cmdgen-$n.png
  rsvg-convert --width "$n" --height "$n" --format png "$(source_for "$n")" --output "$out.tmp"
  mv "$out.tmp" "$out"
  pngs+=("$out")
done

# icotool stores each PNG as an uncompressed 32-bit DIB with its alpha
# channel (and the 1-bit mask older readers want); every size here is at
# most 128, so no PNG-compressed entries.
icotool --create --bit-depth=32 --output cmdgen.ico.tmp "${pngs[@]}"
mv cmdgen.ico.tmp cmdgen.ico

# The side-by-side sheet for the README: each size at 1:1, bottom-aligned,
# with its size below it. rsvg-convert places the PNGs at whole pixels, so
# they are copied unscaled.
docs=$here/../../docs
mkdir -p "$docs"
gap=16 pad=12 label=16
width=$pad
for n in "${sizes[@]}"; do width=$((width + n + gap)); done
width=$((width - gap + pad))
strip=$((pad + 128 + 4 + label + pad))
sheet=$(mktemp --suffix=.svg -p "$here")
trap 'rm -f "$sheet"' EXIT
{
  echo "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\""
  echo "     width=\"$width\" height=\"$((2 * strip))\">"
  echo "  <rect width=\"$width\" height=\"$strip\" fill=\"#f6f5f4\"/>"
  echo "  <rect y=\"$strip\" width=\"$width\" height=\"$strip\" fill=\"#2b2b2b\"/>"
  for row in 0 1; do
    x=$pad
    colour='#3d3846'
    [ $row -eq 1 ] && colour='#deddda'
    for n in "${sizes[@]}"; do
      top=$((row * strip + pad + 128 - n))
      echo "  <image x=\"$x\" y=\"$top\" width=\"$n\" height=\"$n\" xlink:href=\"png/cmdgen-$n.png\"/>"
      echo "  <text x=\"$((x + n / 2))\" y=\"$((row * strip + pad + 128 + 4 + 12))\"" \
           "font-family=\"DejaVu Sans, sans-serif\" font-size=\"12\" text-anchor=\"middle\"" \
           "fill=\"$colour\">$n</text>"
      x=$((x + n + gap))
    done
  done
  echo "</svg>"
} >"$sheet"
rsvg-convert --format png "$sheet" --output "$docs/icon-sizes.png.tmp"
mv "$docs/icon-sizes.png.tmp" "$docs/icon-sizes.png"

echo "render.sh: wrote ${#pngs[@]} PNGs, cmdgen.ico and docs/icon-sizes.png"
