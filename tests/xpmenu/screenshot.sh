#!/usr/bin/env bash
# Runs the XP-look showcase form under Wine inside a display (xvfb-run); the program pictures
# itself with its bars and with its menu down; the pictures are kept as PNG files for a person to
# look at: <out>.png with the menu down, <out>-bars.png before.
#   screenshot.sh <showcase.exe> <out.png>
set -euo pipefail
exe=$(realpath "$1")
out=$(realpath -m "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
timeout 60 wine "$exe" bars.bmp menu.bmp >/dev/null 2>&1
mkdir -p "$(dirname "$out")"
ffmpeg -loglevel error -y -i menu.bmp "$out"
ffmpeg -loglevel error -y -i bars.bmp "${out%.png}-bars.png"
test -s "$out" && test -s "${out%.png}-bars.png"
echo "$out"
