#!/usr/bin/env bash
# RealMedia RTSP benchmark: a stream of a few hundred MiB (the packets of the av.rm fixture, repeated)
# replayed from loopback as fast as the socket takes it and written by the native engine into a
# RealMedia file on tmpfs; then the file writer alone, per packet, as built and with every write
# forced to disk (run in the folder given, default /var/tmp, so the disk is real).
#   bench/rm/run.sh [stream_mib=300] [disk_dir=/var/tmp]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
mib=${1:-300}
disk=${2:-/var/tmp}
work=/dev/shm/fk-bench-rm
mkdir -p "$work"
native_dir=$(bash "$root/scripts/build.sh" native | tail -1)
g++ -std=c++17 -O2 -I"$root/engine" "$root/bench/rm/rm_driver.cpp" "$native_dir/engine/libfetchkeeper.a" \
  -pthread -o "$work/rm_driver"
"$work/rm_driver" "$root/tests/fixtures/media/av.rm" "$work" "$mib" | grep download
"$work/rm_driver" "$root/tests/fixtures/media/av.rm" "$disk" 1 | grep writer
rm -rf "$work"
