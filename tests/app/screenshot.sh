#!/usr/bin/env bash
# Starts Ripplecast.exe under Wine in a copy of the program folder, waits for its main window,
# and saves the screen as a PNG for a person to look at. Runs inside a display (xvfb-run).
#   screenshot.sh <bin-dir> <out.png> [config.ini to place beside the program] [seconds]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=run-program.sh
source "$here/run-program.sh"
out=$(realpath -m "$2")
wait_s=${4:-6}
start_program "$1" "${3:-}"
sleep "$wait_s"
mkdir -p "$(dirname "$out")"
xwd -root -silent > "$program_dir/shot.xwd"
# Opaque: Wine leaves the unused byte of a window's pixels 0, which the picture would keep as alpha.
ffmpeg -loglevel error -y -i "$program_dir/shot.xwd" -pix_fmt rgb24 "$out"
stop_program
echo "$out"
