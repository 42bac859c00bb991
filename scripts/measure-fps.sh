#!/usr/bin/env bash
# measure-fps.sh [SECONDS]: runs the renderer under Wine on a private Xvfb
# display over the sample desktop and prints its frames per second, counted
# from Wine's trace of the buffer swaps over SECONDS (default 10) seconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RIPPLUME_BUILD:-$root/build}
seconds=${1:-10}
bin=$(bash "$root/scripts/build-windows.sh" "$build")

export WINEPREFIX=$build/wine-fps DISPLAY=:78
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trace=$(mktemp)
trap 'WINEDEBUG=-all wineserver -k >/dev/null 2>&1; kill $xvfb 2>/dev/null; rm -f "$trace"' EXIT
sleep 1
WINEDEBUG=-all bash "$root/tests/wine/prepare-prefix.sh" "$WINEPREFIX"
mkdir -p "$WINEPREFIX/drive_c/q_lorn"
bash "$root/tests/wine/sample-desktop.sh" desktop "$trace.png"
convert "$trace.png" -type TrueColor BMP3:"$WINEPREFIX/drive_c/q_lorn/Ripplume.bmp"

WINEDEBUG=trace+wgl wine "$bin/Ripplume.dll" >/dev/null 2>"$trace" &
for _ in $(seq 300); do grep -q glxdrv_wglSwapBuffers "$trace" && break; sleep 0.1; done
sleep 2
first=$(grep -c glxdrv_wglSwapBuffers "$trace")
sleep "$seconds"
last=$(grep -c glxdrv_wglSwapBuffers "$trace")
echo "frames: $((last - first)) in $seconds s = $(awk -v f=$((last - first)) -v s="$seconds" 'BEGIN{printf "%.1f", f/s}') fps"
