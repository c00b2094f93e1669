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
dir=$(bash scripts/build.sh win32 | tail -1)
# shellcheck source=wine-env.sh
source scripts/wine-env.sh
cd "$dir/bin"
exec wine explorer "/desktop=$WINE_DESKTOP_NAME,$WINE_DESKTOP_SIZE" Ripplecast.exe
