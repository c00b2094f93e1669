#!/usr/bin/env bash
# Runs the skinned-controls showcase under Wine inside a display (xvfb-run) and keeps its five
# pictures as PNG files for a person to look at: <dir>/skin-<style>.png.
#   showcase-png.sh <QelShowcase.exe> <dir>
set -euo pipefail
exe=$(realpath "$1")
dir=$(realpath -m "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$dir"
cd "$work"
timeout 90 wine "$exe" . >/dev/null 2>&1
for style in macos winxp deepblue protein blueglass; do
  ffmpeg -loglevel error -y -i "skin-$style.bmp" "$dir/skin-$style.png"
  test -s "$dir/skin-$style.png"
  echo "$dir/skin-$style.png"
done
