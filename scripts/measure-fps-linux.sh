#!/usr/bin/env bash
# measure-fps-linux.sh [SECONDS]: the Linux display mode (ripplume -window)
# at 1024 x 768 on a private Xvfb display with Mesa's llvmpipe: its frame rate
# (its own -fps report, the median of the seconds after the first two) and the
# CPU time per frame of all its threads. Builds the optimised tree first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RIPPLUME_BUILD:-$root/build}
seconds=${1:-10}
cmake -S "$root" -B "$build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRIPPLUME_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build/bench" --target ripplume >/dev/null

export DISPLAY=:79
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
log=$(mktemp)
trap 'kill $xvfb 2>/dev/null; rm -f "$log"' EXIT
sleep 1
convert -size 1024x768 gradient:'#103060-#60a0e0' -fill '#e03020' -draw 'rectangle 0,0 120,767' "$log.png"
display -window root "$log.png" >/dev/null 2>&1 &
picture=$!
sleep 1.5
"$build/bench/bin/ripplume" -window -fps 2>"$log" &
run=$!
sleep $((seconds + 2))
ticks=$(awk '{ print $14 + $15 }' "/proc/$run/stat")
kill -TERM "$run"
wait "$run" || true
kill "$picture" 2>/dev/null || true
rm -f "$log.png"
frames=$(awk '{ n++ } n > 2 { print $2 }' "$log" | sort -n)
median=$(awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }' <<<"$frames")
total=$(awk '{ n = $(NF - 1) } END { print n }' "$log")
pace=$(sed -n 's/.*(\(.*\)),.*/\1/p' "$log" | head -n 1)
echo "ripplume -window: median $median fps ($pace), $total frames, $(awk -v t="$ticks" -v f="$total" -v hz="$(getconf CLK_TCK)" \
  'BEGIN { printf "%.1f", t / hz * 1000 / f }') ms CPU per frame, load $(cut -d' ' -f1 /proc/loadavg)"
