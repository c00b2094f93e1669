#!/usr/bin/env bash
# The engine with a long download list: load, save over the existing file, one poll pass, the last
# AddItem and the peak memory, for each list size, in the native build and, for the load and the
# save, the Windows build under Wine (inside a virtual X display).
#   bench/list/run.sh [rounds=5] [sizes="1000 5000 10000 50000"] [windows=1]
# Prints each driver's lines, then for every operation the ratio of time per item between sizes.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
rounds=${1:-5}
sizes=${2:-1000 5000 10000 50000}
windows=${3:-1}
win_tree=$(bash "$root/scripts/windows-tree.sh")
echo "== building the drivers (native${windows:+ and $win_tree}, no sanitizers)" >&2
native_bin=$(bash "$root/bench/build-drivers.sh" native list_driver | tail -1)
[ "$windows" = 1 ] && win_bin=$(bash "$root/bench/build-drivers.sh" "$win_tree" list_driver | tail -1)
work=$(mktemp -d)
out=$(mktemp)
trap 'rm -rf "$work" "$out"' EXIT
for n in $sizes; do
  mkdir -p "$work/native-$n"
  "$native_bin/list_driver" "$work/native-$n" "$n" "$rounds" | sed 's/^/native  /'
  rm -rf "$work/native-$n"
done | tee -a "$out"
if [ "$windows" = 1 ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    FK_WINDOWS_TREE='"$win_tree"' source "'"$root"'/scripts/wine-env.sh"
    for n in '"$sizes"'; do
      mkdir -p "'"$work"'/win-$n"
      wine "'"$win_bin"'/list_driver.exe" "$(winepath -w "'"$work"'/win-$n")" $n '"$rounds"' </dev/null
      rm -rf "'"$work"'/win-$n"
    done
    wineserver -k' | tr -d '\r' | sed "s/^/$win_tree   /" | tee -a "$out"
fi
echo "== time per item against the next smaller size (1.00: linear)"
for build in native "$win_tree"; do
  for what in load save "first poll" poll "last AddItem"; do
    grep "^$build  *$what  *[0-9]* items: median" "$out" |
      awk -v build="$build" -v what="$what" '{
        for (i = 1; i <= NF; ++i) { if ($i == "items:") n = $(i - 1); if ($i == "median") t = $(i + 1) }
        if (prev_n) printf "%-7s %-13s %6d -> %6d items: %5.2f\n", build, what, prev_n, n, (t / n) / (prev_t / prev_n)
        prev_n = n; prev_t = t
      }'
  done
done
