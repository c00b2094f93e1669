#!/usr/bin/env bash
# Builds benchmark drivers (CMake targets of bench/CMakeLists.txt) in a tree without sanitizers
# and prints the folder that holds them.
#   bench/build-drivers.sh native|win32|win64 TARGET...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$1; shift
dir="$root/build/$tree"
case "$tree" in
  native) cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSANITIZE= >/dev/null ;;
  win32) cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
           -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null ;;
  win64) cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
           -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null ;;
  *) echo "usage: $0 native|win32|win64 TARGET..." >&2; exit 2 ;;
esac
cmake --build "$dir" --target "$@" -j "${JOBS:-3}" >&2
echo "$dir/bin"
