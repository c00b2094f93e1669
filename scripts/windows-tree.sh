#!/usr/bin/env bash
# Prints the Windows build tree whose programs can run under Wine here: win32 (the product) where the
# machine runs 32-bit code, else win64, the same sources built for 64-bit Windows.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo win32
else
  echo win64
fi
