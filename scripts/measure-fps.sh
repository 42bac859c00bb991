#!/usr/bin/env bash
# measure-fps.sh [-n RUNS] [-s SECONDS] [BIN_DIR...]: runs the renderer
# (BIN_DIR/Ripplume.dll) under Wine on a private 1024 x 768 Xvfb display over
# the sample desktop and prints, per run:
#   - frames per second over SECONDS seconds (default 10), starting 2 s after
#     the first frame, counted from the debug string the renderer writes each
#     frame when RIPPLUME_FRAME_MARKS is set (a frame drawn at a render scale
#     under 1 is shown without a buffer swap), in Wine's trace;
#   - CPU time per frame over the same window, all threads of the process
#     (llvmpipe's included), from /proc/PID/task/*/stat, and the CPU share;
#     beside it the X server's CPU time per frame (it copies each frame in);
#   - the time from process start to the first frame;
#   - the 1-minute load average, since the machine may be shared.
# With several folders the runs are interleaved (A, B, A, B, ...), RUNS rounds
# (default 3), and the medians per folder end the output. These machines
# throttle the CPU after a burst: compare CPU per frame beside fps.
#
# A 32-bit program runs in a 32-bit (WINEARCH=win32) prefix, where it was
# always measured (the display switch of earlier renderers failed in a 64-bit
# one). Where this machine runs no 32-bit code, 32-bit
# folders are skipped. Without BIN_DIR the Windows programs are built
# (scripts/build-windows.sh) and the shipped one is measured: build/windows-i686/bin
# where 32-bit code runs, else build/windows/bin (64-bit).
# The environment reaches the renderer, so LP_NUM_THREADS=N sets llvmpipe's
# thread count. RIPPLUME_BUILD sets the build root (default build/).
#
# -p minimised or -p inactive measures the renderer instead while it is
# minimised (SC_MINIMIZE) or while another window holds the activation, after
# 2 s of running; the test build's wintool.exe does either.
#
# -g WIDTHxHEIGHT runs it on one screen of that size instead of 1024 x 768,
# the sample desktop stretched to it. RIPPLUME_RENDER_SCALE=F in the
# environment fixes the renderer's render scale (0.5 to 1; it adapts
# without; -f fixes it at 1, as it counts swaps).
#
# -m two measures on two monitors instead: a 1024 x 768 primary and an
# 800 x 600 monitor to its right (Xephyr with Xinerama, as the tests' rig),
# the picture covering both; the X server timed is then Xephyr.
#
# measure-fps.sh -f FRAME [-n RUNS] BIN_DIR...: instead of timing, stops each
# renderer (SIGSTOP) near frame FRAME, RUNS times each, saves the screen as
# BUILD/frame-shots/ARCH-N-RUN.png (N: the swaps traced by then) and counts
# the differing pixels of every two shots with the same N. A frame depends only
# on its number, so two builds' shots of one frame differ only where their GL
# rasterisation differs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RIPPLUME_BUILD:-$root/build}
runs=3
seconds=10
frame=""
phase=running
monitors=one
geometry=1024x768
while getopts n:s:f:p:m:g: option; do
  case $option in
    n) runs=$OPTARG ;;
    s) seconds=$OPTARG ;;
    f) frame=$OPTARG ;;
    p) phase=$OPTARG ;;
    m) monitors=$OPTARG ;;
    g) geometry=$OPTARG ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))

# The displays, waits and Wine set-up the tests use.
for part in checks machine x_display wine; do source "$root/tests/lib/$part.sh"; done
# The renderer deletes the hand-over picture it has read; every run here reads the same one.
export RIPPLUME_TEST_KEEP_PICTURE=1
if [ -n "$frame" ]; then
  export RIPPLUME_RENDER_SCALE=1
else
  # Frames, by the renderer's own marks: a scaled frame is shown without a swap.
  export RIPPLUME_FRAME_MARKS=1
  swaps() { grep -c 'OutputDebugStringA "ripplume frame' "$1" || true; }
fi
ART=$(mktemp -d)

if [ $# -eq 0 ]; then
  bash "$root/scripts/build-windows.sh" "$build" >/dev/null
  if runs_32bit_code; then set -- "$build/windows-i686/bin"; else set -- "$build/windows/bin"; fi
fi

# i686 or x86_64, from the program's file header.
arch_of() {
  case $(file -b "$1") in
    PE32+*) echo x86_64 ;;
    PE32*) echo i686 ;;
    *) echo unknown ;;
  esac
}

# Makes (or wakes) a prefix of the given architecture, with the hand-over
# picture in place; leaves its server running so later starts are quick.
prepare_prefix() {
  local prefix=$1 winearch=$2
  prepare_wine_prefix "$prefix" "$winearch" || true
  local handover
  handover="$(WINEPREFIX=$prefix WINEDEBUG=-all winepath -u "$(WINEPREFIX=$prefix WINEDEBUG=-all wine cmd /c \
    'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r\n')" 2>/dev/null)/Ripplume"
  mkdir -p "$handover"
  cp "$picture" "$handover/Ripplume.bmp"
}

# CPU time of a process in clock ticks: all its threads, then those of
# llvmpipe's rasteriser (threads named llvmpipe-N).
cpu_ticks_with_llvmpipe() {
  local task
  for task in /proc/"$1"/task/*; do
    echo "$(cat "$task/comm" 2>/dev/null) $(cat "$task/stat" 2>/dev/null)"
  done | awk '{ name = $1; sub(/^[^ ]* /, ""); sub(/^.*\) /, ""); t += $12 + $13
               if (name ~ /^llvmpipe-/) l += $12 + $13 } END { print t + 0, l + 0 }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "-" }'; }

work=$ART
prefixes=()
cleanup() {
  for prefix in "${prefixes[@]}"; do WINEPREFIX=$prefix WINEDEBUG=-all wineserver -k >/dev/null 2>&1 || true; done
  stop_x_servers || true
  rm -rf "$work" || true
}
trap cleanup EXIT
bash "$root/tests/wine/sample-desktop.sh" desktop "$work/desktop.png"
picture=$work/Ripplume.bmp
if [ "$monitors" = two ]; then
  start_x_server Xvfb ":@N" -screen 0 2048x1024x24 -nolisten tcp -noreset || { echo "could not start Xvfb" >&2; exit 1; }
  DISPLAY=$X_DISPLAY start_x_server Xephyr ":@N" -screen 1024x768 -origin 1024,0 -screen 800x600 +xinerama \
    -extension RANDR -nolisten tcp -noreset || { echo "could not start Xephyr" >&2; exit 1; }
  export DISPLAY=$X_DISPLAY
  convert "$work/desktop.png" \( "$work/desktop.png" -flop -resize '800x768!' \) +append \
    -type TrueColor BMP3:"$picture"
else
  start_xvfb "$geometry" || { echo "could not start Xvfb" >&2; exit 1; }
  convert "$work/desktop.png" -resize "$geometry!" -type TrueColor BMP3:"$picture"
fi
xvfb=${X_PIDS[-1]}

ticks_per_second=$(getconf CLK_TCK)
wintool=$build/windows/bin/wintool.exe
[ "$phase" = running ] || [ -f "$wintool" ] || { echo "-p $phase needs $wintool (scripts/build-windows.sh)" >&2; exit 1; }
declare -A prefix_of loader_of
for bin in "$@"; do
  arch=$(arch_of "$bin/Ripplume.dll")
  loader_of[$bin]=wine
  case $arch in
    i686)
      if ! runs_32bit_code; then
        echo "$bin: 32-bit, and this machine runs no 32-bit code; skipped" >&2
        continue
      fi
      prefix_of[$bin]=$build/wine-fps-win32
      prepare_prefix "${prefix_of[$bin]}" win32 ;;
    x86_64)
      # Debian's wine starts a 64-bit program through start.exe, in another
      # process; its 64-bit loader runs it as the process it starts.
      [ -x /usr/lib/wine/wine64 ] && loader_of[$bin]=/usr/lib/wine/wine64
      prefix_of[$bin]=$build/wine-fps-win64
      prepare_prefix "${prefix_of[$bin]}" win64 ;;
    *) echo "$bin/Ripplume.dll is not a Windows program" >&2; exit 1 ;;
  esac
  prefixes+=("${prefix_of[$bin]}")
done
[ ${#prefixes[@]} -gt 0 ] || exit 1

# One run: prints "fps cpu_ms_per_frame llvmpipe_cpu_ms_per_frame
# cpu_percent first_frame_s load xvfb_cpu_ms_per_frame".
measure() {
  local bin=$1 trace=$work/trace pid start first f1 f2 c1 c2 l1 l2 x1 x2 load
  export WINEPREFIX=${prefix_of[$bin]}
  : >"$trace"
  WINEDEBUG=warn+debugstr "${loader_of[$bin]}" "$bin/Ripplume.dll" >/dev/null 2>"$trace" &
  pid=$!
  # Process start and first frame on the clock of /proc/uptime, which is the
  # clock of the start time in /proc/PID/stat; the trace is polled every 10 ms.
  # (Wine's own +timestamp is no use here: it is the server's tick count,
  # which lags while the server sleeps.)
  start=$(awk -v hz="$ticks_per_second" '{ sub(/^.*\) /, ""); printf "%.2f", $20 / hz }' "/proc/$pid/stat")
  first=""
  for _ in $(seq 3000); do
    if [ "$(swaps "$trace")" -gt 0 ]; then first=$(cut -d' ' -f1 /proc/uptime); break; fi
    sleep 0.01
  done
  if [ -z "$first" ]; then
    echo "$bin: no frame within 30 s" >&2
    kill "$pid" 2>/dev/null || true
    return 1
  fi
  sleep 2  # past the first frames, which build the texture and warm the caches
  case $phase in
    minimised) WINEDEBUG=-all wine "$wintool" syscommand Ripplume_VC F020 >/dev/null 2>&1 ;;
    inactive)
      WINEDEBUG=-all wine "$wintool" take-activation $((seconds + 4)) >"$work/holder" 2>&1 &
      wait_for 10 grep -q held "$work/holder" || echo "$bin: the activation was not taken" >&2 ;;
  esac
  # Minimised or inactive, the window settles into waiting first.
  [ "$phase" = running ] || wait_for 5 swaps_stopped "$trace" || echo "$bin: it kept drawing" >&2
  f1=$(swaps "$trace")
  read -r c1 l1 < <(cpu_ticks_with_llvmpipe "$pid")
  read -r x1 _ < <(cpu_ticks_with_llvmpipe "$xvfb")
  sleep "$seconds"
  f2=$(swaps "$trace")
  read -r c2 l2 < <(cpu_ticks_with_llvmpipe "$pid")
  read -r x2 _ < <(cpu_ticks_with_llvmpipe "$xvfb")
  load=$(cut -d' ' -f1 /proc/loadavg)
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  wait 2>/dev/null || true  # a holder of the activation
  awk -v f=$((f2 - f1)) -v c=$((c2 - c1)) -v l=$((l2 - l1)) -v x=$((x2 - x1)) -v s="$seconds" -v hz="$ticks_per_second" \
      -v start="$start" -v first="$first" -v load="$load" 'BEGIN { ms = f ? 1000 / hz / f : 0
    printf "%.1f %.1f %.1f %.0f %.2f %s %.1f\n", f / s, c * ms, l * ms, c * 100 / hz / s, first - start, load, x * ms }'
}

# One shot: prints the file it saved.
shot() {
  local bin=$1 trace=$work/trace pid n out
  export WINEPREFIX=${prefix_of[$bin]}
  : >"$trace"
  WINEDEBUG=trace+wgl "${loader_of[$bin]}" "$bin/Ripplume.dll" >/dev/null 2>"$trace" &
  pid=$!
  for _ in $(seq 20000); do [ "$(swaps "$trace")" -ge $((frame - 1)) ] && break; sleep 0.002; done
  kill -STOP "$pid"
  wait_settled 1024x768+0+0 5 || true  # the X server finishes drawing what it was sent
  n=$(swaps "$trace")
  out=$build/frame-shots/$(arch_of "$bin/Ripplume.dll")-$n-$round.png
  xwd -root -silent | convert xwd:- "$out"
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$out"
}

if [ -n "$frame" ]; then
  mkdir -p "$build/frame-shots"
  rm -f "$build"/frame-shots/*.png
  for round in $(seq "$runs"); do
    for bin in "$@"; do
      [ -n "${prefix_of[$bin]:-}" ] && echo "saved $(shot "$bin")"
    done
  done
  # Every two shots of the same frame count, same build or not. A shot may
  # show the frame before its count (stopped inside the swap): pairs that
  # differ in most pixels are neighbouring frames, not the same one.
  shots=("$build"/frame-shots/*.png)
  for ((i = 0; i < ${#shots[@]}; ++i)); do
    for ((j = i + 1; j < ${#shots[@]}; ++j)); do
      a=${shots[i]##*/} b=${shots[j]##*/}
      [ "$(cut -d- -f2 <<<"$a")" = "$(cut -d- -f2 <<<"$b")" ] || continue
      pixels=$(compare -metric AE "${shots[i]}" "${shots[j]}" null: 2>&1 || true)
      echo "$a and $b differ in $pixels of $((1024 * 768)) pixels"
    done
  done
  exit 0
fi

declare -A results
for round in $(seq "$runs"); do
  for bin in "$@"; do
    [ -n "${prefix_of[$bin]:-}" ] || continue
    result=$(measure "$bin") || continue
    results[$bin]+="$result"$'\n'
    read -r fps cpu lp share first load xcpu <<<"$result"
    echo "$(arch_of "$bin/Ripplume.dll") $bin run $round: $fps fps, $cpu ms CPU/frame" \
      "($lp in llvmpipe threads; $share% CPU; X server $xcpu), first frame $first s after start, load $load"
  done
done

echo "medians of $runs runs of $seconds s, $phase, $monitors monitor(s) at $geometry (LP_NUM_THREADS=${LP_NUM_THREADS:-default}):"
for bin in "$@"; do
  [ -n "${results[$bin]:-}" ] || continue
  column() { printf '%s' "${results[$bin]}" | awk -v k="$1" 'NF { print $k }' | median; }
  echo "  $(arch_of "$bin/Ripplume.dll") $bin: $(column 1) fps, $(column 2) ms CPU/frame" \
    "($(column 3) in llvmpipe threads; $(column 4)% CPU; X server $(column 7))," \
    "first frame $(column 5) s after start, load $(column 6)"
done
