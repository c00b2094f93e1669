#!/usr/bin/env bash
# Pictures of the skinned controls' test form, one per style, kept as PNG files for a person to
# look at: <out-dir>/skin-controls-<style>.png. Runs inside a display (xvfb-run).
#   screenshot.sh <SkinShowcase.exe> <form.frm> <out-dir> <style>...
set -euo pipefail
exe=$(realpath "$1")
form=$(realpath "$2")
out=$(realpath -m "$3")
shift 3
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$out"
cd "$work"
for style in "$@"; do
  rm -f ready
  wine "$exe" "Z:$form" "$style" ready >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 300); do
    [ -e ready ] && break
    kill -0 "$pid" 2>/dev/null || { echo "the showcase ended before it was ready ($style)" >&2; exit 1; }
    sleep 0.1
  done
  [ -e ready ] || { echo "the showcase was not ready in time ($style)" >&2; exit 1; }
  lower=$(echo "$style" | tr '[:upper:]' '[:lower:]')
  xwd -root -silent > shot.xwd
  ffmpeg -loglevel error -y -i shot.xwd -vf crop=800:430:0:0 "$out/skin-controls-$lower.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
  test -s "$out/skin-controls-$lower.png"
  echo "$out/skin-controls-$lower.png"
done
