#!/usr/bin/env bash
# Playlist parse time on pathological 51200-byte texts (native build, no sanitizers).
#   bench/playlist/run.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bin=$(bash "$root/bench/build-drivers.sh" native parse_driver | tail -1)
"$bin/parse_driver" "$work/playlist.txt"
