#!/bin/sh
# A small tmpfs for the tests that need a full disk: small-disk.sh mount|unmount DIR.
set -eu
action=$1
dir=$2
case "$action" in
  mount)
    mkdir -p "$dir"
    if mountpoint -q "$dir"; then umount "$dir"; fi
    mount -t tmpfs -o size=256k tmpfs "$dir"
    ;;
  unmount)
    if mountpoint -q "$dir"; then umount "$dir"; fi
    rmdir "$dir" 2>/dev/null || true
    ;;
  *)
    echo "usage: $0 mount|unmount DIR" >&2
    exit 2
    ;;
esac
