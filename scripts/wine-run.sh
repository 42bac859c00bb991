#!/usr/bin/env bash
# Runs a Windows program under Wine, and says clearly when this machine
# cannot run it (a 32-bit program where the kernel has no 32-bit support).
if [ -n "${1:-}" ] && [ -f "$1" ] && file -b "$1" | grep -q '^PE32 ' && ! bash "$(dirname "$0")/can-run-32bit.sh"; then
  echo "wine-run: $1 is a 32-bit program and this machine cannot run 32-bit code;" >&2
  echo "wine-run: build the tests with cmake/mingw-x86_64.cmake (64-bit) instead." >&2
  exit 97
fi
# Wine 8.0 itself now and then crashes as a process ends (about one run in
# 100 on a loaded machine): a thread of its own, waiting on the wine server,
# faults in ntdll.so after the program has finished, and the process dies of
# SIGSEGV (139). A fault in the program's own code ends it with the
# exception's code instead (0xC0000005: 5), so only a 139 is run once more.
wine "$@"
code=$?
if [ "$code" = 139 ]; then
  echo "wine-run: Wine itself crashed (SIGSEGV) running $1; running it once more" >&2
  wine "$@"
  code=$?
fi
exit "$code"
