#!/usr/bin/env bash
# The host's peak memory (VmHWM) and CPU time while it decodes a wallpaper
# for a run on a desktop not the user's own (the secure desktop), and the
# time from its start to the picture handed over. Builds are run in turn,
# round by round, on one 1024 x 768 Xvfb display; the wallpaper fills it.
#   bash bench/measure-wallpaper-peak.sh [-n ROUNDS] PICTURE... -- FOLDER...
# Each FOLDER holds a Ripplume.scr and Ripplume.dll (e.g. build/windows-i686/bin).
# Uses the Windows test tree's Wine prefix and tools: RIPPLUME_BIN and
# RIPPLUME_WINE_PREFIX as the Wine tests have them (build/windows/bin and
# build/windows/wine-gui).
set -u  # not -e: the harness runs commands that may fail (wineserver -k with no server)
rounds=3
if [ "${1:-}" = -n ]; then
  rounds=$2
  shift 2
fi
pictures=()
while [ "$1" != -- ]; do
  pictures+=("$(realpath "$1")")
  shift
done
shift
folders=()
for folder in "$@"; do folders+=("$(realpath "$folder")"); done

source "$(dirname "$0")/../tests/wine/harness.sh"
harness_init wallpaper_peak
export RIPPLUME_TEST_KEEP_PICTURE=1
KEY='HKCU\Control Panel\Desktop'
trap 'wine reg delete "$KEY" /v Wallpaper /f >/dev/null 2>&1; harness_cleanup' EXIT

# The host itself, not the explorer that starts it on its desktop.
host_pid() { for pid in $(host_pids); do grep -qa explorer "/proc/$pid/cmdline" || echo "$pid"; done | head -1; }

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-40s %-30s %10s %10s %10s\n' build picture "peak MB" "CPU s" "elapsed s"
for round in $(seq "$rounds"); do
  for picture in "${pictures[@]}"; do
    wine reg add "$KEY" /v Wallpaper /d "$(winepath -w "$picture" 2>/dev/null | tr -d '\r')" /f >/dev/null 2>&1
    wine reg add "$KEY" /v WallpaperStyle /d 10 /f >/dev/null 2>&1
    wine reg add "$KEY" /v TileWallpaper /d 0 /f >/dev/null 2>&1
    for folder in "${folders[@]}"; do
      wineserver -k; wineserver -w
      rm -f "$PICTURE"
      start=$(date +%s.%N)
      wine_start DESKTOP explorer /desktop=Screen-saver,1024x768 "$folder/Ripplume.scr" /s
      wait_for 300 test -s "$PICTURE" || { echo "no picture from $folder with $picture"; exit 1; }
      end=$(date +%s.%N)
      pid=$(host_pid)
      peak=$(awk '/VmHWM/ { print $2 / 1024 }' "/proc/$pid/status")
      cpu=$(awk -v hz="$(getconf CLK_TCK)" '{ print ($14 + $15) / hz }' "/proc/$pid/stat")
      printf '%-40s %-30s %10.0f %10.2f %10.2f\n' "$folder" "$(basename "$picture")" "$peak" "$cpu" \
        "$(echo "$end - $start" | bc)"
    done
  done
done
wineserver -k; wineserver -w
