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
bin=$(bash "$root/bench/build-drivers.sh" native rm_driver | tail -1)
"$bin/rm_driver" "$root/tests/fixtures/media/av.rm" "$work" "$mib" | grep download
"$bin/rm_driver" "$root/tests/fixtures/media/av.rm" "$disk" 1 | grep writer
rm -rf "$work"
