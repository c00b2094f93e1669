#!/usr/bin/env bash
# The library exports the decorated factory pairs and nothing else.
set -euo pipefail
objdump=$1
dll=$2
# One class name per line in exports.txt; each class exports its creating and static factory.
expected=$(grep -v '^#' "$(dirname "$0")/exports.txt" | sed '/^$/d' |
           while read -r class; do echo "_NEW_${class}@0"; echo "_NEW_00_${class}@0"; done | sort)
# The export name table is the block of "[ordinal] name" lines after its heading.
actual=$("$objdump" -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^[ \t]*\[/{print $NF; next} on{on=0}' | sort)
if [ "$actual" != "$expected" ]; then
  echo "exports differ"; echo "expected:"; echo "$expected"; echo "actual:"; echo "$actual"
  exit 1
fi
echo "exports as expected: $(echo "$actual" | wc -l) names"
