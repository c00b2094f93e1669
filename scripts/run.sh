#!/usr/bin/env bash
# Builds the Windows tree and starts Ripplecast under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
dir=$(bash scripts/build.sh win32 | tail -1)
# shellcheck source=wine-env.sh
source scripts/wine-env.sh
if [ -f "$dir/bin/Ripplecast.exe" ]; then
  cd "$dir/bin"
  exec wine Ripplecast.exe
fi
echo "Built the engine library: $dir/bin/Fetchkeeper.dll"
echo "The Ripplecast program itself is not part of this tree yet; there is nothing to start."
