#!/usr/bin/env bash
# The library exports the decorated factory pairs and nothing else.
set -euo pipefail
objdump=$1
dll=$2
expected=$(cat <<'LIST'
_NEW_00_DOWNITEM@0
_NEW_00_FETCHKEEPER@0
_NEW_00_PRJMNG@0
_NEW_DOWNITEM@0
_NEW_FETCHKEEPER@0
_NEW_PRJMNG@0
LIST
)
# The export name table is the block of "[ordinal] name" lines after its heading.
actual=$("$objdump" -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^[ \t]*\[/{print $NF; next} on{on=0}' | sort)
if [ "$actual" != "$expected" ]; then
  echo "exports differ"; echo "expected:"; echo "$expected"; echo "actual:"; echo "$actual"
  exit 1
fi
echo "exports as expected: $(echo "$actual" | wc -l) names"
