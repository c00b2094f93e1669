#!/usr/bin/env bash
# The cost of one refresh of the main window with many items whose logs are long, in the 64-bit
# Windows build under Wine (inside a virtual X display): several runs of the driver, each timing
# many refreshes, then the median of the runs' medians.
#   bench/refresh/run.sh [runs=5] [items=500] [log_bytes=20480] [refreshes=200]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-5}
items=${2:-500}
log_bytes=${3:-20480}
refreshes=${4:-200}
tree=win64
bin=$(bash "$root/bench/build-drivers.sh" "$tree" refresh_driver | tail -1)
out=$(mktemp)
trap 'rm -f "$out"' EXIT
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  FK_WINDOWS_TREE='"$tree"' source "'"$root"'/scripts/wine-env.sh"
  for i in $(seq '"$runs"'); do wine "'"$bin"'/refresh_driver.exe" '"$items $log_bytes $refreshes"' </dev/null; done
  wineserver -k' | tr -d '\r' | tee "$out"
echo "== median of the runs' medians (microseconds)"
for what in "refresh (timer tick)" "engine calls of a refresh"; do
  grep -F "$what" "$out" | awk '{for (i = 1; i <= NF; ++i) if ($i == "median") print $(i + 1)}' | sort -n |
    awk -v what="$what" '{v[NR] = $1} END {printf "%-28s %10.1f\n", what, v[int((NR + 1) / 2)]}'
done
