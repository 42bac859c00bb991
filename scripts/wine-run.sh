#!/usr/bin/env bash
# Runs a Windows program under Wine, and says clearly when this machine
# cannot run it (a 32-bit program where the kernel has no 32-bit support).
if [ -n "${1:-}" ] && [ -f "$1" ] && file -b "$1" | grep -q '^PE32 ' && ! bash "$(dirname "$0")/can-run-32bit.sh"; then
  echo "wine-run: $1 is a 32-bit program and this machine cannot run 32-bit code;" >&2
  echo "wine-run: build the tests with cmake/mingw-x86_64.cmake (64-bit) instead." >&2
  exit 97
fi
exec wine "$@"
