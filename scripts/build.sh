#!/usr/bin/env bash
# Configures and builds one tree: native (optionally with a sanitizer) or win32.
#   scripts/build.sh native [address|thread]   -> build/native[-address|-thread]
#   scripts/build.sh win32                     -> build/win32
#   scripts/build.sh win64                     -> build/win64 (the same, for 64-bit Windows: runs its
#                                                 tests where no 32-bit code can run)
#   scripts/build.sh fuzz                      -> build/fuzz (clang, libFuzzer targets)
# FK_TARGETS (space-separated CMake targets) builds only those instead of the whole tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:-native}
sanitize=${2:-}
jobs=${JOBS:-$(nproc)}

case "$kind" in
  native)
    dir="$root/build/native${sanitize:+-$sanitize}"
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSANITIZE="$sanitize" >/dev/null
    ;;
  fuzz)
    dir="$root/build/fuzz"
    CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFK_FUZZ=ON >/dev/null
    ;;
  win32)
    dir="$root/build/win32"
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
    ;;
  win64)
    dir="$root/build/win64"
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
    ;;
  *)
    echo "usage: $0 native [address|thread] | win32 | win64 | fuzz" >&2
    exit 2
    ;;
esac
# shellcheck disable=SC2086 # FK_TARGETS is a list of names
cmake --build "$dir" -j "$jobs" ${FK_TARGETS:+--target $FK_TARGETS} >&2
echo "$dir"
