#!/usr/bin/env bash
# Builds the Windows tree and starts Ripplecast under Wine, inside a Wine virtual desktop.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [ -z "${DISPLAY:-}" ]; then
  echo "run.sh: no display (DISPLAY is not set): run it from a desktop session, or in a virtual display with: xvfb-run -a -s '-screen 0 1280x1024x24' bash scripts/run.sh" >&2
  exit 2
fi
bash scripts/install-deps.sh
# The 32-bit program where this machine runs 32-bit code, else the same program built for 64-bit.
tree=$(bash scripts/windows-tree.sh)
dir=$(bash scripts/build.sh "$tree" | tail -1)
export FK_WINDOWS_TREE=$tree
# shellcheck source=wine-env.sh
source scripts/wine-env.sh
cd "$dir/bin"
exec wine explorer "/desktop=$WINE_DESKTOP_NAME,$WINE_DESKTOP_SIZE" Ripplecast.exe
