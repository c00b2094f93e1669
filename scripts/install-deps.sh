#!/usr/bin/env bash
# Installs every Debian package the builds and tests need. Safe to run again.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

# fonts-wine: Wine's own faces ("MS Sans Serif", the title-bar symbols); the Wine packages come without
# their recommended packages, and without it every dialog text falls back to a wider face and is cut.
need=(g++ cmake make libgtest-dev googletest g++-mingw-w64-i686 binutils-mingw-w64-i686
      g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine32:i386 wine64 fonts-wine
      xvfb xauth x11-apps clang
      ffmpeg lighttpd tinyproxy python3-pyftpdlib curl wget
      time bc)

missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
# Servers come only as test peers that the tests start themselves: keep the packages from starting
# system-wide daemons on install.
policy=/usr/sbin/policy-rc.d
placed=0
if [ ! -e "$policy" ]; then
  printf '#!/bin/sh\nexit 101\n' | $SUDO tee "$policy" >/dev/null
  $SUDO chmod +x "$policy"
  placed=1
fi
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
[ $placed -eq 1 ] && $SUDO rm -f "$policy"
exit 0
