#!/usr/bin/env bash
# Playlist parse time on pathological 51200-byte texts (native build, no sanitizers).
#   bench/playlist/run.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
native_dir=$(bash "$root/scripts/build.sh" native | tail -1)
g++ -std=c++17 -O2 -I"$root/engine" "$root/bench/playlist/parse_driver.cpp" \
  "$native_dir/engine/libfetchkeeper.a" -pthread -o "$work/parse_driver"
"$work/parse_driver" "$work/playlist.txt"
