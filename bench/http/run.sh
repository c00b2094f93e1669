#!/usr/bin/env bash
# HTTP throughput: one large file served by lighttpd on loopback, downloaded to tmpfs by the engine
# (native driver, and the win32 build under Wine), by curl and by wget, several rounds each.
# Prints wall time, CPU time (user + system) and peak memory per run, the medians, and the ratios
# engine/curl. A second, small file shows whether the engine's memory grows with the file size.
#   bench/http/run.sh [rounds=3] [size_mib=1024]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
rounds=${1:-3}
size_mib=${2:-1024}
small_mib=64
work=/dev/shm/fk-bench-http
mkdir -p "$work/www" "$work/out"

# The Windows driver comes from the tree that runs here (win32, or win64 where no 32-bit code runs).
win_tree=$(bash "$root/scripts/windows-tree.sh")
echo "== building the drivers (native and $win_tree, no sanitizers)" >&2
native_bin=$(bash "$root/bench/build-drivers.sh" native fetch_driver | tail -1)
win_bin=$(bash "$root/bench/build-drivers.sh" "$win_tree" fetch_driver | tail -1)
cp "$native_bin/fetch_driver" "$win_bin/fetch_driver.exe" "$work/"

make_file() {  # name size_mib
  local f="$work/www/$1"
  if [ ! -f "$f" ] || [ "$(stat -c %s "$f")" -ne $(( $2 * 1024 * 1024 )) ]; then
    head -c $(( $2 * 1024 * 1024 )) /dev/urandom > "$f"
  fi
}
make_file big.bin "$size_mib"
make_file small.bin "$small_mib"

port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
cat > "$work/lighttpd.conf" <<CONF
server.document-root = "$work/www"
server.port = $port
server.bind = "127.0.0.1"
server.errorlog = "$work/lighttpd.log"
mimetype.assign = ( ".bin" => "application/x-bench-data" )
CONF
/usr/sbin/lighttpd -D -f "$work/lighttpd.conf" &
lighttpd_pid=$!
cleanup() {
  kill "$lighttpd_pid" 2>/dev/null || true
  wait "$lighttpd_pid" 2>/dev/null || true
  [ -n "${WINE_STARTED:-}" ] && wineserver -k 2>/dev/null || true
  rm -rf "$work/out" "$work/www"
}
trap cleanup EXIT
for _ in $(seq 100); do
  (exec 3<>/dev/tcp/127.0.0.1/$port) 2>/dev/null && break
  sleep 0.05
done

# shellcheck source=../../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
WINE_STARTED=1

results="$work/results.txt"
: > "$results"
measure() {  # label file command...
  local label=$1 file=$2; shift 2
  rm -f "$work/out/"*
  /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt" || {
    echo "$label failed:" >&2; cat "$work/err.txt" >&2; return 1; }
  cmp -s "$work/out/$file" "$work/www/$file" || { echo "$label: downloaded file differs" >&2; return 1; }
  read -r wall user sys rss < "$work/time.txt"
  echo "$label $wall $(echo "$user + $sys" | bc -l) $rss" >> "$results"
  printf '%-22s wall %7.2f s  cpu %7.2f s  peak %8.1f MiB\n' "$label" "$wall" \
    "$(echo "$user + $sys" | bc -l)" "$(echo "$rss / 1024" | bc -l)"
}

url="http://127.0.0.1:$port/big.bin"
echo "== $rounds rounds, ${size_mib} MiB over loopback to tmpfs"
for r in $(seq "$rounds"); do
  measure engine-native big.bin "$work/fetch_driver" "$url" "$work/out/" big.bin
  measure engine-wine big.bin wine "$work/fetch_driver.exe" "$url" 'Z:\dev\shm\fk-bench-http\out\' big.bin
  measure curl big.bin curl -s -o "$work/out/big.bin" "$url"
  measure wget big.bin wget -q -O "$work/out/big.bin" "$url"
done
measure "engine-native-${small_mib}MiB" small.bin "$work/fetch_driver" "http://127.0.0.1:$port/small.bin" \
  "$work/out/" small.bin

echo "== medians"
/usr/bin/python3 "$root/bench/medians.py" "$results" engine-native/curl engine-wine/curl
