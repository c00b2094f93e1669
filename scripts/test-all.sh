#!/usr/bin/env bash
# Builds both trees and runs every test: native (address and undefined-behaviour sanitizers),
# native under the thread sanitizer, and the Windows build under Wine (the 64-bit one where the
# machine runs no 32-bit code).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
start=$(date +%s)
jobs=${JOBS:-$(nproc)}
status=0

run_ctest() {
  local dir=$1; shift
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 300 "$@" || status=1
}

echo "== native, address + undefined sanitizers"
dir=$(bash scripts/build.sh native address | tail -1)
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest "$dir"

echo "== native, thread sanitizer"
dir=$(bash scripts/build.sh native thread | tail -1)
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" run_ctest "$dir"

echo "== fuzz targets (bounded runs)"
dir=$(bash scripts/build.sh fuzz | tail -1)
run_ctest "$dir"

echo "== win32 (the product)"
dir=$(bash scripts/build.sh win32 | tail -1)
if [ "$(bash scripts/windows-tree.sh)" = win32 ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/test-win32.sh "$dir" || status=1
else
  echo "This machine runs no 32-bit code: the 32-bit build is checked by its export tables, and the"
  echo "Windows tests run from the same sources built for 64-bit Windows."
  run_ctest "$dir" -R '^(ExportsTest|ProgramExportsTest)$'
  echo "== win64 under Wine"
  dir=$(bash scripts/build.sh win64 | tail -1)
  xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/test-win32.sh "$dir" || status=1
fi

echo "== all test runs took $(( $(date +%s) - start )) s"
exit $status
