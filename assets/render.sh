#!/bin/sh
# Regenerates the bitmaps from diagram.svg, icon.svg and icon-check.svg.
# Needs rsvg-convert (Debian package librsvg2-bin). Run from anywhere; the
# results are written next to this script and are kept in the repository.
set -eu

cd "$(dirname "$0")"

if ! command -v rsvg-convert >/dev/null 2>&1; then
  echo "render.sh: rsvg-convert not found (install librsvg2-bin)" >&2
  exit 1
fi

render() { # render SRC WIDTH HEIGHT OUT
  rsvg-convert --width="$2" --height="$3" --background-color=white --output="$4" "$1"
}

# Antenna diagram at its natural size and for 2x displays.
render diagram.svg 302 89 diagram.png
render diagram.svg 604 178 diagram@2x.png

# Window icon.
render icon.svg 32 32 icon-32.png
for size in 16 22 24 32 48 64 128 256; do
  dir="icons/hicolor/${size}x${size}/apps"
  mkdir -p "$dir"
  render icon.svg "$size" "$size" "$dir/tarvix.png"
done
mkdir -p icons/hicolor/scalable/apps
cp icon.svg icons/hicolor/scalable/apps/tarvix.svg

# The check window's icon, for the icon theme and compiled into the program.
for size in 16 22 24 32 48 64 128 256; do
  render icon-check.svg "$size" "$size" "icons/hicolor/${size}x${size}/apps/tarvix-check.png"
done
cp icon-check.svg icons/hicolor/scalable/apps/tarvix-check.svg
