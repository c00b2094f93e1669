#!/usr/bin/env bash
# Turns the window pictures that WindowPicturesTest saved as bitmaps into PNG files beside them.
#   pictures-png.sh <artifacts-dir>
set -euo pipefail
dir=$1
shopt -s nullglob
pictures=("$dir"/ripplecast-window-*.bmp)
[ ${#pictures[@]} -gt 0 ] || { echo "no window pictures in $dir" >&2; exit 1; }
for f in "${pictures[@]}"; do
  ffmpeg -loglevel error -y -i "$f" "${f%.bmp}.png"
  rm -f "$f"
  echo "${f%.bmp}.png"
done
