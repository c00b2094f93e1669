#!/usr/bin/env bash
# Runs the XP-look showcase form under Wine inside a display (xvfb-run) and keeps a PNG of it for
# a person to look at: the program's own GDI picture with its menu down, and where that is black
# (windows it does not see) the display's picture, taken while the menu is still down.
#   screenshot.sh <showcase.exe> <out.png>
set -euo pipefail
exe=$(realpath "$1")
out=$(realpath -m "$2")
work=$(mktemp -d)
cd "$work"
wine "$exe" shot.bmp >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT
wait_for() {
  for _ in $(seq 1 150); do
    [ -e "$1" ] && return 0
    sleep 0.2
  done
  return 1
}
wait_for shot.bmp
sleep 0.5
xwd -root -silent > screen.xwd
mkdir -p "$(dirname "$out")"
ffmpeg -loglevel error -y -i shot.bmp -i screen.xwd -filter_complex \
  "[0]format=gbrp[a];[1]crop=480:400:0:0,format=gbrp[b];[a][b]blend=all_expr='if(eq(A,0),B,A)'" \
  -frames:v 1 "$out"
test -s "$out"
echo "$out"
