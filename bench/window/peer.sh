#!/usr/bin/env bash
# A lighttpd on 127.0.0.1 and a free port serving `items` files of 1000 bytes (f0.bin ...).
#   peer.sh start <dir> <items>   prints the port
#   peer.sh stop <dir>
set -euo pipefail
case "$1" in
  start)
    dir=$2 items=$3
    mkdir -p "$dir/www"
    python3 -c '
import os, sys
d, n = sys.argv[1], int(sys.argv[2])
body = os.urandom(1000)
for i in range(n):
    with open("%s/f%d.bin" % (d, i), "wb") as f: f.write(body)' "$dir/www" "$items"
    port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    cat > "$dir/lighttpd.conf" <<CONF
server.document-root = "$dir/www"
server.port = $port
server.bind = "127.0.0.1"
server.errorlog = "$dir/error.log"
server.pid-file = "$dir/lighttpd.pid"
server.max-connections = 4096
mimetype.assign = ( ".bin" => "application/octet-stream" )
CONF
    setsid /usr/sbin/lighttpd -D -f "$dir/lighttpd.conf" </dev/null >/dev/null 2>&1 &
    for _ in $(seq 100); do
      curl -s -o /dev/null "http://127.0.0.1:$port/f0.bin" --max-time 0.2 && break
      sleep 0.1
    done
    echo "$port"
    ;;
  stop)
    dir=$2
    if [ -f "$dir/lighttpd.pid" ]; then kill "$(cat "$dir/lighttpd.pid")" 2>/dev/null || true; rm -f "$dir/lighttpd.pid"; fi
    ;;
esac
