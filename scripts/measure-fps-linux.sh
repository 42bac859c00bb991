#!/usr/bin/env bash
# measure-fps-linux.sh [SECONDS [WIDTHxHEIGHT [SCALE]]]: the Linux display mode on a
# private Xvfb display with Mesa's llvmpipe: its frame rate (its own -fps
# report, the median of the seconds after the first two) and the CPU time per
# frame of all its threads. Without a size, ripplume -window at 1024 x 768;
# with one, ripplume -root on a screen of that size. SCALE fixes the render
# scale (-scale); without it the scale adapts, and the line says where it
# ended and how many of the measured seconds ended at each scale. RIPPLUME_BIN names
# another build of ripplume to measure (to compare two, run them in turns).
# Builds the optimised tree first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RIPPLUME_BUILD:-$root/build}
seconds=${1:-10}
size=${2:-}
scale=${3:+-scale $3}
cmake -S "$root" -B "$build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRIPPLUME_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build/bench" --target ripplume >/dev/null
program=${RIPPLUME_BIN:-$build/bench/bin/ripplume}

# The displays and waits the tests use.
for part in checks x_display; do source "$root/tests/lib/$part.sh"; done
ART=$(mktemp -d)
log=$ART/fps.log
trap 'stop_x_servers || true; rm -rf "$ART" || true' EXIT
start_xvfb "${size:-1024x768}" || { echo "could not start Xvfb" >&2; exit 1; }
convert -size "${size:-1024x768}" gradient:'#103060-#60a0e0' -fill '#e03020' -draw 'rectangle 0,0 120,767' "$ART/desktop.png"
show_on_root "$ART/desktop.png"
if [ -z "$size" ]; then
  "$program" -window -fps $scale 2>"$log" &
  run=$!
  wait_for_window Ripplume 10 || { echo "ripplume's window did not appear" >&2; exit 1; }
else
  "$program" -root -fps $scale 2>"$log" &
  run=$!
  wait_for 20 test -s "$log" || { echo "ripplume reported no frames" >&2; exit 1; }
fi
sleep $((seconds + 2))  # the measured stretch: -fps reports once a second
ticks=$(awk '{ print $14 + $15 }' "/proc/$run/stat")
kill -TERM "$run"
wait "$run" || true
frames=$(awk '{ n++ } n > 2 { print $2 }' "$log" | sort -n)
median=$(awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }' <<<"$frames")
total=$(awk '{ n = $(NF - 1) } END { print n }' "$log")
pace=$(sed -n 's/.*(\(.*\), scale .*/\1/p' "$log" | head -n 1)
# The scale of each second after the first two, and the share of seconds at each.
scales=$(sed -n 's/.*, scale \([0-9.]*\)).*/\1/p' "$log" | tail -n +3 | sort | uniq -c |
  awk '{ printf "%s%s x%d", sep, $2, $1; sep = "," }')
echo "ripplume ${size:-1024x768}: median $median fps ($pace; scale ${3:-adaptive}: $scales), $total frames, $(awk -v t="$ticks" -v f="$total" -v hz="$(getconf CLK_TCK)" \
  'BEGIN { printf "%.1f", t / hz * 1000 / f }') ms CPU per frame, load $(cut -d' ' -f1 /proc/loadavg)"
