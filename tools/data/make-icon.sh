#!/usr/bin/env bash
# Renders the application icon from its two SVG sources in tools/data/icon/: the installed
# desktop icons (packaging/icons/hicolor/<size>x<size>/apps/, the small drawing up to 32 pixels)
# and the window icon the game sets on its own window (data/icon.png). The scalable icon is
# installed straight from quillory-icon.svg. Needs rsvg-convert (Debian's librsvg2-bin); the
# output is the same on every run.
set -euo pipefail
cd "$(dirname "$0")/../.."
id=io.github.quillory.Quillory
source=tools/data/icon
hicolor=packaging/icons/hicolor

for size in 16 24 32 48 64 128 256 512; do
  drawing=$source/quillory-icon.svg
  if [ "$size" -le 32 ]; then
    drawing=$source/quillory-icon-small.svg
  fi
  mkdir -p "$hicolor/${size}x${size}/apps"
  rsvg-convert --width "$size" --height "$size" --format png \
    --output "$hicolor/${size}x${size}/apps/$id.png" "$drawing"
done
rsvg-convert --width 128 --height 128 --format png --output data/icon.png \
  "$source/quillory-icon.svg"
