#!/usr/bin/env bash
# The cost of one save of the download list with many items: the Windows build under Wine (the
# product, whose settings file goes through the private-profile calls) and the native build.
# Several runs of the driver, each timing many saves, then the median of the runs' medians.
#   bench/save/run.sh [runs=5] [items=500] [saves=20]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-5}
items=${2:-500}
saves=${3:-20}
win_tree=$(bash "$root/scripts/windows-tree.sh")
echo "== building the drivers (native and $win_tree, no sanitizers)" >&2
native_bin=$(bash "$root/bench/build-drivers.sh" native save_driver | tail -1)
win_bin=$(bash "$root/bench/build-drivers.sh" "$win_tree" save_driver | tail -1)
work=$(mktemp -d)
out=$(mktemp)
trap 'rm -rf "$work" "$out"' EXIT
for i in $(seq "$runs"); do
  "$native_bin/save_driver" "$work" "$items" "$saves" | sed 's/^/native  /'
done | tee -a "$out"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  FK_WINDOWS_TREE='"$win_tree"' source "'"$root"'/scripts/wine-env.sh"
  for i in $(seq '"$runs"'); do
    wine "'"$win_bin"'/save_driver.exe" "$(winepath -w "'"$work"'")" '"$items $saves"' </dev/null
  done
  wineserver -k' | tr -d '\r' | sed "s/^/$win_tree   /" | tee -a "$out"
echo "== median of the runs' medians (milliseconds per save of $items items)"
for what in native "$win_tree"; do
  grep "^$what " "$out" | awk '{for (i = 1; i <= NF; ++i) if ($i == "median") print $(i + 1)}' | sort -n |
    awk -v what="$what" '{v[NR] = $1} END {printf "%-8s %10.2f\n", what, v[int((NR + 1) / 2)]}'
done
