#!/usr/bin/env bash
# MMS throughput: one ASF file of a few hundred MB (made by ffmpeg, kept in tmpfs between runs)
# replayed by the scripted stream server as fast as the socket takes it, downloaded to tmpfs by
# the engine over each transport and by ffmpeg's own client (-c copy), several rounds each.
# Prints wall time, CPU time (user + system) and peak memory per run, the medians, and the ratios
# engine/ffmpeg per transport. A second, small file shows whether the engine's memory grows with
# the stream's length.
#   bench/mms/run.sh [rounds=3]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
rounds=${1:-3}
work=/dev/shm/fk-bench-mms
mkdir -p "$work/out"

echo "== building the driver and the stream server (native, no sanitizers)" >&2
bin=$(bash "$root/bench/build-drivers.sh" native mms_driver stream_server | tail -1)

make_media() {  # name seconds: 1280x720 noisy test picture, WMV2 + WMA2, ffmpeg's 3200-byte packets
  local f="$work/$1"
  [ -f "$f" ] && return 0
  echo "== making $1 ($2 s)" >&2
  ffmpeg -hide_banner -loglevel error -y \
    -f lavfi -i "testsrc2=size=1280x720:rate=30:duration=$2,noise=alls=40:allf=t" \
    -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$2" \
    -c:v wmv2 -qscale:v 2 -g 30 -c:a wmav2 -b:a 128k "$f"
}
make_media big.wmv 10
make_media small.wmv 2

# Where the packets end (header + Data Object), so the engine's file is compared without its index.
data_end() {
  /usr/bin/python3 - "$1" <<'PY'
import struct, sys
d = open(sys.argv[1], 'rb').read(1 << 20)
h = struct.unpack('<Q', d[16:24])[0]
print(h + struct.unpack('<Q', d[h + 16:h + 24])[0])
PY
}

servers=()
cleanup() {
  for s in "${servers[@]}"; do kill "$s" 2>/dev/null || true; wait "$s" 2>/dev/null || true; done
  rm -rf "$work/out"
}
trap cleanup EXIT
start_server() {  # transport media -> port in $port
  local fifo="$work/server-$1-$2.port"
  rm -f "$fifo"
  "$bin/stream_server" "$1" "$work/$2" > "$fifo" &
  servers+=($!)
  for _ in $(seq 1200); do [ -s "$fifo" ] && break; sleep 0.1; done
  port=$(head -1 "$fifo")
  [ -n "$port" ] || { echo "the $1 stream server for $2 did not start" >&2; exit 1; }
}

results="$work/results.txt"
: > "$results"
measure() {  # label source command...
  local label=$1 source=$2; shift 2
  rm -f "$work/out/"*
  /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt" || {
    echo "$label failed:" >&2; tail -20 "$work/err.txt" >&2; return 1; }
  local out; out=$(ls "$work/out/")
  case "$label" in
    engine-*)
      local n; n=$(data_end "$source")
      cmp -s -n "$n" "$work/out/$out" "$source" || { echo "$label: packets differ from the source" >&2; return 1; } ;;
    *)
      [ "$(stat -c %s "$work/out/$out")" -gt $(( $(stat -c %s "$source") * 9 / 10 )) ] ||
        { echo "$label: file too short" >&2; return 1; } ;;
  esac
  read -r wall user sys rss < "$work/time.txt"
  echo "$label $wall $(echo "$user + $sys" | bc -l) $rss" >> "$results"
  printf '%-26s wall %7.2f s  cpu %7.2f s  peak %8.1f MiB\n' "$label" "$wall" \
    "$(echo "$user + $sys" | bc -l)" "$(echo "$rss / 1024" | bc -l)"
}

start_server http big.wmv; http_port=$port
start_server http small.wmv; http_small=$port
start_server tcp big.wmv; tcp_port=$port
start_server tcp small.wmv; tcp_small=$port
start_server rtsp big.wmv; rtsp_port=$port
start_server rtsp-stripped big.wmv; rtsp_stripped=$port
start_server rtsp small.wmv; rtsp_small=$port

big=$work/big.wmv
echo "== $rounds rounds, $(( $(stat -c %s "$big") / 1048576 )) MiB over loopback to tmpfs"
for r in $(seq "$rounds"); do
  measure engine-http "$big" "$bin/mms_driver" http "http://127.0.0.1:$http_port/big.wmv" "$work/out/big.asf"
  measure ffmpeg-mmsh "$big" ffmpeg -nostdin -v error -i "mmsh://127.0.0.1:$http_port/big.wmv" -c copy -f asf -y \
    "$work/out/big.asf"
  measure engine-tcp "$big" "$bin/mms_driver" tcp "mms://127.0.0.1:$tcp_port/big.wmv" "$work/out/big.asf"
  measure ffmpeg-mmst "$big" ffmpeg -nostdin -v error -i "mmst://127.0.0.1:$tcp_port/big.wmv" -c copy -f asf -y \
    "$work/out/big.asf"
  measure engine-rtsp "$big" "$bin/mms_driver" rtsp "rtsp://127.0.0.1:$rtsp_port/big.wmv" "$work/out/big.asf"
  measure ffmpeg-rtsp "$big" ffmpeg -nostdin -v error -rtsp_transport tcp -i "rtsp://127.0.0.1:$rtsp_stripped/big.wmv" \
    -c copy -f asf -y "$work/out/big.asf"
done
measure engine-http-small "$work/small.wmv" "$bin/mms_driver" http "http://127.0.0.1:$http_small/small.wmv" \
  "$work/out/small.asf"
measure engine-tcp-small "$work/small.wmv" "$bin/mms_driver" tcp "mms://127.0.0.1:$tcp_small/small.wmv" \
  "$work/out/small.asf"
measure engine-rtsp-small "$work/small.wmv" "$bin/mms_driver" rtsp "rtsp://127.0.0.1:$rtsp_small/small.wmv" \
  "$work/out/small.asf"

echo "== medians"
/usr/bin/python3 "$root/bench/medians.py" "$results" engine-http/ffmpeg-mmsh engine-tcp/ffmpeg-mmst \
  engine-rtsp/ffmpeg-rtsp
