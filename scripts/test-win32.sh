#!/usr/bin/env bash
# Runs the Windows build's tests under Wine. Call it inside a display (xvfb-run) so that the Wine
# session, started here, can open windows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Every Wine process below (the server, the service processes, the tests and the programs the test
# scripts start) with the address space laid out the same each time: Wine here has no preloader,
# and a random layout now and then takes the fixed addresses a Wine process needs, which ends it at
# its start with exit code 1 ("failed to map the shared user data", hidden by WINEDEBUG=-all).
if [ $((0x$(cat /proc/self/personality) & 0x0040000)) -eq 0 ]; then
  exec setarch -R bash "$0" "$@"
fi
dir=${1:-$root/build/win32}
export FK_WINDOWS_TREE=$(basename "$dir")
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
status=0
ctest --test-dir "$dir" --output-on-failure -j "${JOBS:-$(nproc)}" --timeout 300 || status=1
wineserver -k 2>/dev/null || true
exit $status
