#!/usr/bin/env bash
# prepare-prefix.sh PREFIX [win32|win64]: makes (or wakes) a Wine prefix and
# leaves its server running, so that later wine calls start fast and no
# background Wine process holds a test runner's pipes.
set -eu
prefix=$1
export WINEPREFIX=$prefix WINEDEBUG=-all
if [ -n "${2:-}" ]; then
  export WINEARCH=$2
elif bash "$(dirname "$0")/../../scripts/can-run-32bit.sh"; then
  # A 32-bit prefix is smaller and faster where 32-bit Wine runs at all.
  export WINEARCH=win32
fi
mkdir -p "$(dirname "$prefix")"
if [ ! -f "$prefix/system.reg" ]; then
  wineboot -i >/dev/null 2>&1 </dev/null || true
  wineserver -w >/dev/null 2>&1 </dev/null || true
fi
wineserver -p >/dev/null 2>&1 </dev/null || true
wine cmd /c exit >/dev/null 2>&1 </dev/null || true
test -f "$prefix/system.reg"
