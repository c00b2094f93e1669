#!/usr/bin/env bash
# Checks downloads past 2 GiB end to end: a 2200 MiB file from lighttpd on loopback to tmpfs by the
# native engine and by the 32-bit Windows build under Wine, and a resume from 2100 MiB under Wine.
# Each result is compared byte for byte. Needs about 5 GB of /dev/shm. Run bench/http/run.sh once
# first: it builds the drivers this script uses.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=/dev/shm/fk-bench-http
[ -x "$work/fetch_driver" ] && [ -f "$work/fetch_driver.exe" ] || { echo "run bench/http/run.sh first" >&2; exit 2; }
mkdir -p "$work/large/www" "$work/large/out"
src="$work/large/www/huge.bin"
out="$work/large/out/huge.bin"
head -c $(( 2200 * 1024 * 1024 )) /dev/urandom > "$src"
port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
printf 'server.document-root = "%s"\nserver.port = %s\nserver.bind = "127.0.0.1"\nserver.errorlog = "%s"\n' \
  "$work/large/www" "$port" "$work/large/lighttpd.log" > "$work/large/lighttpd.conf"
/usr/sbin/lighttpd -D -f "$work/large/lighttpd.conf" &
pid=$!
trap 'kill $pid 2>/dev/null || true; wineserver -k 2>/dev/null || true; rm -rf "$work/large"' EXIT
for _ in $(seq 100); do (exec 3<>/dev/tcp/127.0.0.1/$port) 2>/dev/null && break; sleep 0.05; done
# shellcheck source=../../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
url="http://127.0.0.1:$port/huge.bin"
winout='Z:\dev\shm\fk-bench-http\large\out\'

rm -f "$out"*
"$work/fetch_driver" "$url" "$work/large/out/" huge.bin && cmp "$out" "$src" && echo "native 2200 MiB: same bytes"
rm -f "$out"*
wine "$work/fetch_driver.exe" "$url" "$winout" huge.bin && cmp "$out" "$src" && echo "win32 2200 MiB: same bytes"
head -c $(( 2100 * 1024 * 1024 )) "$src" > "$out"
printf '1\r\n0\r\n0' > "$out.ini"
wine "$work/fetch_driver.exe" "$url" "$winout" huge.bin && cmp "$out" "$src" && [ ! -e "$out.ini" ] &&
  echo "win32 resume from 2100 MiB: same bytes, record gone"
