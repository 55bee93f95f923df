#!/usr/bin/env bash
# Renders the icons' SVG sources (src/gui/*/icons/*.svg) to the PNG files
# the program loads, at the tool bar's size and twice that for screens that
# scale by two, and the program's icon at the sizes window managers and
# Windows ask for, with tovarin.ico for the Windows programs. The PNG files
# are kept in the tree, so neither build needs an SVG renderer; run this
# after changing an SVG. Needs rsvg-convert (librsvg2-bin) and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."

render() {  # svg size png
  rsvg-convert --width "$2" --height "$2" --format png --output "$3" "$1"
}

# The tool bars draw their icons at 20 (main window) and 24 (draw table)
# pixels.
for folder in mainwin:20 draws:24; do
  dir=src/gui/${folder%%:*}/icons
  size=${folder##*:}
  for svg in "$dir"/*.svg; do
    [ "$(basename "$svg")" = tovarin.svg ] && continue
    render "$svg" "$size" "${svg%.svg}.png"
    render "$svg" $((size * 2)) "${svg%.svg}@2x.png"
  done
done

icon=src/gui/mainwin/icons/tovarin.svg
pngs=()
for size in 16 32 48 256; do
  render "$icon" "$size" "${icon%.svg}-$size.png"
  pngs+=("${icon%.svg}-$size.png")
done
/usr/bin/convert "${pngs[@]}" src/app/tovarin.ico
