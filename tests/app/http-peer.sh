#!/usr/bin/env bash
# The native side of the program's end-to-end download: a lighttpd on 127.0.0.1 and a free port
# serving one file at a limited rate (so that a download lasts long enough to be seen), and a
# watcher that saves a picture of the screen when the Windows side asks for one.
#   http-peer.sh start <dir> <picture.png>     writes <dir>/port, <dir>/www/clip.bin and small.bin
#   http-peer.sh stop <dir>
set -euo pipefail
cmd=$1
dir=$2
case "$cmd" in
  start)
    shot=$3
    bash "$0" stop "$dir" 2>/dev/null || true
    rm -rf "$dir"
    mkdir -p "$dir/www"
    head -c 3000000 /dev/urandom > "$dir/www/clip.bin"
    head -c 40000 /dev/urandom > "$dir/www/small.bin"
    port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    cat > "$dir/lighttpd.conf" <<CONF
server.document-root = "$dir/www"
server.port = $port
server.bind = "127.0.0.1"
server.errorlog = "$dir/error.log"
server.pid-file = "$dir/lighttpd.pid"
connection.kbytes-per-second = 400
mimetype.assign = ( ".bin" => "application/octet-stream" )
CONF
    setsid /usr/sbin/lighttpd -D -f "$dir/lighttpd.conf" </dev/null >/dev/null 2>&1 &
    for _ in $(seq 100); do
      curl -s -o /dev/null "http://127.0.0.1:$port/clip.bin" --max-time 0.2 -r 0-0 && break
      sleep 0.1
    done
    echo "$port" > "$dir/port"
    # The watcher: one picture per request, for at most ten minutes; in a session of its own so
    # that it outlives this script.
    setsid bash -c '
      dir=$1 shot=$2
      echo $$ > "$dir/watcher.pid"
      for _ in $(seq 6000); do
        if [ -f "$dir/shot.request" ]; then
          mkdir -p "$(dirname "$shot")"
          xwd -root -silent > "$dir/shot.xwd" && ffmpeg -loglevel error -y -i "$dir/shot.xwd" -pix_fmt rgb24 "$shot"
          rm -f "$dir/shot.request" "$dir/shot.xwd"
          touch "$dir/shot.done"
        fi
        sleep 0.1
      done' watcher "$dir" "$shot" </dev/null >"$dir/watcher.log" 2>&1 &
    for _ in $(seq 50); do [ -f "$dir/watcher.pid" ] && [ -f "$dir/lighttpd.pid" ] && break; sleep 0.1; done
    ;;
  stop)
    for p in lighttpd watcher; do
      if [ -f "$dir/$p.pid" ]; then
        kill "$(cat "$dir/$p.pid")" 2>/dev/null || true
        rm -f "$dir/$p.pid"
      fi
    done
    ;;
esac
