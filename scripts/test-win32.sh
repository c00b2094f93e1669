#!/usr/bin/env bash
# Runs the Windows build's tests under Wine. Call it inside a display (xvfb-run) so that the Wine
# session, started here, can open windows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/win32}
export FK_WINDOWS_TREE=$(basename "$dir")
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
status=0
ctest --test-dir "$dir" --output-on-failure -j "${JOBS:-$(nproc)}" --timeout 300 || status=1
wineserver -k 2>/dev/null || true
exit $status
