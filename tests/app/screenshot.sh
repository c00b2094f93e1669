#!/usr/bin/env bash
# Starts Ripplecast.exe under Wine in a copy of the program folder, waits for its main window,
# and saves the screen as a PNG for a person to look at. Runs inside a display (xvfb-run).
#   screenshot.sh <bin-dir> <out.png> [config.ini to place beside the program] [seconds]
#                 [a program of bin-dir to run under Wine once the window is up, before the picture]
set -euo pipefail
bin=$(realpath "$1")
out=$(realpath -m "$2")
config=${3:+$(realpath "$3")}
wait_s=${4:-6}
before=${5:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$bin/Ripplecast.exe" "$bin/Fetchkeeper.dll" "$work/"
[ -n "$config" ] && cp "$config" "$work/config.ini"
cd "$work"
wine Ripplecast.exe >/dev/null 2>&1 &
pid=$!
sleep "$wait_s"
if [ -n "$before" ]; then
  wine "$bin/$before" >/dev/null 2>&1 </dev/null
  sleep 2
fi
mkdir -p "$(dirname "$out")"
xwd -root -silent > shot.xwd
ffmpeg -loglevel error -y -i shot.xwd "$out"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
echo "$out"
