#!/usr/bin/env bash
# Builds the Windows tree and starts Ripplecast under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
# The 32-bit program where this machine runs 32-bit code, else the same program built for 64-bit.
tree=$(bash scripts/windows-tree.sh)
dir=$(bash scripts/build.sh "$tree" | tail -1)
export FK_WINDOWS_TREE=$tree
# shellcheck source=wine-env.sh
source scripts/wine-env.sh
if [ -f "$dir/bin/Ripplecast.exe" ]; then
  cd "$dir/bin"
  exec wine Ripplecast.exe
fi
echo "Built the engine library: $dir/bin/Fetchkeeper.dll"
echo "The Ripplecast program itself is not part of this tree yet; there is nothing to start."
