#!/usr/bin/env bash
# Builds benchmark drivers (CMake targets of bench/CMakeLists.txt) in a tree without sanitizers
# (configured as scripts/build.sh configures it) and prints the folder that holds them.
#   bench/build-drivers.sh native|win32|win64 TARGET...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=${1:-}
case "$tree" in
  native|win32|win64) shift ;;
  *) echo "usage: $0 native|win32|win64 TARGET..." >&2; exit 2 ;;
esac
if [ "$#" -eq 0 ]; then
  echo "usage: $0 native|win32|win64 TARGET..." >&2
  exit 2
fi
dir=$(FK_TARGETS="$*" JOBS=${JOBS:-3} bash "$root/scripts/build.sh" "$tree" | tail -1)
echo "$dir/bin"
