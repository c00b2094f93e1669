#!/usr/bin/env bash
# The program exports its two forwarding factories under their plain names, and nothing else;
# it imports nothing from the engine library, which it binds at run time.
set -euo pipefail
objdump=$1
exe=$2
actual=$("$objdump" -p "$exe" | awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^[ \t]*\[/{print $NF; next} on{on=0}' | sort)
expected=$(printf 'NEW_00_FETCHKEEPER\nNEW_FETCHKEEPER\n')
if [ "$actual" != "$expected" ]; then
  echo "exports differ"; echo "expected:"; echo "$expected"; echo "actual:"; echo "$actual"
  exit 1
fi
if "$objdump" -p "$exe" | grep -qi "DLL Name: Fetchkeeper.dll"; then
  echo "the program links the engine library"
  exit 1
fi
echo "program exports as expected"
