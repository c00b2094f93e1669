#!/usr/bin/env bash
# The main window with a long download list, in the 32-bit Windows build under Wine (inside a
# virtual X display):
#  1. in-process (window_driver): start-up with the saved list, first paint, an idle tick, Begin All,
#     the tick after it and the tick that moves every row to the finished list, each beside the
#     engine calls of the same step timed alone;
#  2. the real program (click_driver) against a loopback lighttpd serving every item's small file:
#     start-up to the first painted list, then Begin All through the menu and a click on a row every
#     250 ms for `seconds`, each timed until the row shows selected.
#   bench/window/run.sh [items=10000] [seconds=30]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
items=${1:-10000}
seconds=${2:-30}
tree=win32
bin=$(bash "$root/bench/build-drivers.sh" "$tree" window_driver click_driver Ripplecast Fetchkeeper | tail -1)
work=$(mktemp -d)
trap 'bash "$root/bench/window/peer.sh" stop "$work"; rm -rf "$work"' EXIT
mkdir -p "$work/inproc" "$work/program/dl"
port=$(bash "$root/bench/window/peer.sh" start "$work" "$items")
cp "$bin/Ripplecast.exe" "$bin/Fetchkeeper.dll" "$work/program/"
python3 - "$work/program" "$items" "$port" <<'PY'
import sys
folder, items, port = sys.argv[1], int(sys.argv[2]), sys.argv[3]
dest = 'Z:' + folder.replace('/', '\\') + '\\dl'
with open(folder + '/config.ini', 'w', newline='') as out:
    out.write('[Down]\r\nCount=%d\r\n' % items)
    for i in range(items):
        out.write('[%d]\r\nURL=http://127.0.0.1:%s/f%d.bin\r\nDestFileName=%s\\f%d.bin\r\nState=3\r\n' % (i, port, i, dest, i))
PY
export BIN="$bin" WORK="$work" ITEMS="$items" SECONDS_AFTER="$seconds" ROOT="$root"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  FK_WINDOWS_TREE=win32 source "$ROOT/scripts/wine-env.sh"
  echo "== in-process, $ITEMS items"
  wine "$BIN/window_driver.exe" "$(winepath -w "$WORK/inproc")" "$ITEMS" </dev/null
  echo "== the program, $ITEMS items"
  wine "$BIN/click_driver.exe" "$(winepath -w "$WORK/program")" "$ITEMS" "$SECONDS_AFTER" </dev/null
  finished=$(ls "$WORK/program/dl" | grep -c "\.bin$" || true)
  echo "files written: $finished of $ITEMS"
  wineserver -k' 2>&1 | tr -d '\r' | grep -av '^X Error\|^  \(Major\|Minor\|Resource\|Serial\|Current\)'
