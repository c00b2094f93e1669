#!/usr/bin/env bash
# A picture of the running program's main window with its first menu dropped down, for a person
# to look at, checked to show the menu's list in the DeepBlue look. Runs inside a display
# (xvfb-run). DropMenu.exe opens the list and pictures it from its own window; the display gives
# the rest, and the list is laid over it where it lies on the screen.
#   menu-screenshot.sh <bin-dir> <out.png>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=run-program.sh
source "$here/run-program.sh"
bin=$(realpath "$1")
out=$(realpath -m "$2")
start_program "$bin"
cd "$program_dir"
status=0
timeout 60 wine "$bin/DropMenu.exe" list.bmp > rects.txt 2>/dev/null </dev/null || status=$?
if [ $status -ne 0 ]; then
  echo "DropMenu.exe failed with $status (1: no main window, 2: no list opened, 3: no picture)" >&2
  stop_program
  exit 1
fi
xwd -root -silent > shot.xwd
stop_program
read -r _ wl wt wr wb < <(tr -d '\r' < rects.txt | grep '^window ')
read -r _ ll lt lr lb < <(tr -d '\r' < rects.txt | grep '^list ')
IFS=, read -r sw sh < <(ffprobe -v error -show_entries stream=width,height -of csv=p=0 shot.xwd)
# The main window as far as it is on the screen.
x=$(( wl > 0 ? wl : 0 )); y=$(( wt > 0 ? wt : 0 ))
w=$(( (wr < sw ? wr : sw) - x )); h=$(( (wb < sh ? wb : sh) - y ))
mkdir -p "$(dirname "$out")"
# In RGB throughout: a pass through YUV would shift the colours the check looks for.
lay="[1]format=rgb24[list];[0]format=rgb24[screen];[screen][list]overlay=$ll:$lt:format=rgb"
ffmpeg -loglevel error -y -i shot.xwd -i list.bmp -filter_complex "$lay,format=rgb24,crop=$w:$h:$x:$y" \
  -frames:v 1 -pix_fmt rgb24 "$out"
python3 "$here/check-menu-picture.py" "$out" "$w" "$h" $((ll - x)) $((lt - y)) $((lr - x)) $((lb - y))
echo "$out"
