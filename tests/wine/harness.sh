#!/usr/bin/env bash
# Shared helpers for tests that run the Windows programs under Wine on a
# private Xvfb display. Source it, then call harness_init NAME [WIDTHxHEIGHT].
# Everything started through it is ended when the script exits.
#
# Environment (set by CTest): RIPPLUME_BIN (folder of Ripplume.dll / .scr and
# test programs), RIPPLUME_ARTIFACTS (where screenshots go), RIPPLUME_WINE_PREFIX.

set -u

HARNESS_SCRIPTS=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)
HARNESS_PIDS=()
HARNESS_X_PIDS=()
FAILURES=0

harness_cleanup() {
  local pid
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  for pid in "${HARNESS_PIDS[@]}"; do kill "$pid" >/dev/null 2>&1; done
  for pid in "${HARNESS_X_PIDS[@]}"; do kill "$pid" >/dev/null 2>&1; done
  [ -n "${WINEPREFIX:-}" ] && wineserver -w >/dev/null 2>&1
  wait >/dev/null 2>&1
  return 0
}

log() { echo "[$(date +%T)] $*"; }

fail() {
  echo "FAIL: $*"
  FAILURES=$((FAILURES + 1))
}

# check DESCRIPTION COMMAND...: records a failure when the command fails.
check() {
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

# Ends the test: exit 0 when no check failed.
harness_finish() {
  if [ "$FAILURES" -eq 0 ]; then
    echo "PASSED"
    exit 0
  fi
  echo "$FAILURES check(s) failed"
  exit 1
}

# start_x_server COMMAND [ARGS...]: starts an X server on a free display
# number, written @N in the arguments; sets X_DISPLAY (":N") once it answers.
start_x_server() {
  local display tries pid
  for display in $(seq 90 160); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
    "${@//@N/$display}" >/dev/null 2>&1 &
    pid=$!
    HARNESS_X_PIDS+=("$pid")
    for tries in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$display" ] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null && xdpyinfo -display ":$display" >/dev/null 2>&1; then
      X_DISPLAY=":$display"
      return 0
    fi
    kill "$pid" 2>/dev/null
  done
  return 1
}

# harness_init NAME [WIDTHxHEIGHT | two-monitors]
# two-monitors: a 1024 x 768 primary monitor with an 800 x 600 one to its
# right, as Wine sees them in a nested Xephyr server with Xinerama (Wine takes
# its monitors from Xinerama when RandR is off).
harness_init() {
  local name=$1 size=${2:-1024x768}
  trap harness_cleanup EXIT
  trap 'exit 130' INT TERM
  ART=${RIPPLUME_ARTIFACTS:-$PWD/test-artifacts}/$name
  rm -rf "$ART"
  mkdir -p "$ART"
  BIN=${RIPPLUME_BIN:?RIPPLUME_BIN must name the folder of the built programs}

  if [ "$size" = two-monitors ]; then
    start_x_server Xvfb ":@N" -screen 0 2048x1024x24 -nolisten tcp -noreset || { echo "could not start Xvfb"; exit 1; }
    DISPLAY=$X_DISPLAY start_x_server Xephyr ":@N" -screen 1024x768 -origin 1024,0 -screen 800x600 +xinerama \
      -extension RANDR -nolisten tcp -noreset || { echo "could not start Xephyr"; exit 1; }
  else
    start_x_server Xvfb ":@N" -screen 0 "${size}x24" -nolisten tcp -noreset || { echo "could not start Xvfb"; exit 1; }
  fi
  export DISPLAY=$X_DISPLAY

  export WINEPREFIX=${RIPPLUME_WINE_PREFIX:?RIPPLUME_WINE_PREFIX must name the test prefix}
  export WINEDEBUG=-all
  if file -b "$BIN/wintool.exe" | grep -q '^PE32 ' && ! bash "$HARNESS_SCRIPTS/can-run-32bit.sh"; then
    echo "These are 32-bit programs and this machine cannot run 32-bit code: test the 64-bit build (cmake/mingw-x86_64.cmake)."
    exit 1
  fi
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  bash "$(dirname "${BASH_SOURCE[0]}")/prepare-prefix.sh" "$WINEPREFIX" || { echo "no Wine prefix"; exit 1; }
  # A folder of the test's own files (preview boxes' reports, music).
  WORK="$WINEPREFIX/drive_c/ripplume_tests"
  WORK_WIN='C:\ripplume_tests'
  rm -rf "$WORK"
  mkdir -p "$WORK"
  harness_hand_over
  log "display $DISPLAY, prefix $WINEPREFIX, artefacts $ART"
}

# Where the programs hand the desktop picture over: %LOCALAPPDATA%\Ripplume.
# Sets HANDOVER (its Unix path), HANDOVER_WIN and PICTURE (the picture's Unix path).
harness_hand_over() {
  local local_app_data
  local_app_data=$(wine "$BIN/wintool.exe" local-app-data 2>/dev/null | tr -d '\r\n')
  HANDOVER_WIN="$local_app_data\\Ripplume"
  HANDOVER="$(winepath -u "$local_app_data" 2>/dev/null)/Ripplume"
  PICTURE="$HANDOVER/Ripplume.bmp"
}

# reg_value KEY NAME: a registry value's data, or nothing when there is none.
reg_value() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    awk -v v="$2" '$1 == v { $1 = ""; $2 = ""; sub(/^  /, ""); print }'
}

# English captions: DejaVu Sans stands in for the system's message font, which
# Wine names "MS Shell Dlg" and maps to a Tahoma it has no file of here.
# Wine writes its own mapping again when a program starts in another code
# page, so call this after that. harness_english_fonts restore puts Wine's
# own mapping back (the prefix is shared, and Wine's own dialogs use the name).
harness_english_fonts() {
  local face font=DejaVu\ Sans
  [ "${1:-}" = restore ] && font=Tahoma
  for face in "MS Shell Dlg" "MS Shell Dlg 2"; do
    wine reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes" \
      /v "$face" /d "$font" /f >/dev/null 2>&1
  done
}

# Japanese captions: let the IPA Gothic font stand in for the Windows fonts.
harness_japanese_fonts() {
  local face
  for face in "ＭＳ Ｐゴシック" "MS PGothic" "MS UI Gothic" "ＭＳ ゴシック" "MS Gothic"; do
    wine reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes" \
      /v "$face" /d IPAPGothic /f >/dev/null 2>&1
  done
}

# wine_start VAR PROGRAM [ARGS...]: starts a Windows program in the background
# (its output goes to $ART/VAR.log) and stores its PID in VAR.
wine_start() {
  local var=$1
  shift
  wine "$@" >"$ART/$var.log" 2>&1 </dev/null &
  local pid=$!
  HARNESS_PIDS+=("$pid")
  printf -v "$var" '%s' "$pid"
}

# hold VAR WINTOOL-ARGS...: starts wintool holding something (a mutex, an open
# file) in the background, waits until it says it holds it and stores its PID in VAR.
hold() {
  local var=$1 out="$ART/$1.log" i
  shift
  wine "$BIN/wintool.exe" "$@" >"$out" 2>&1 &
  HARNESS_PIDS+=("$!")
  printf -v "$var" '%s' "$!"
  for i in $(seq 50); do
    grep -q held "$out" && return 0
    sleep 0.2
  done
  return 1
}

# wait_for SECONDS COMMAND...: runs the command every 0.2 s until it succeeds;
# fails when it has not succeeded within SECONDS.
wait_for() {
  local end=$((${EPOCHREALTIME/./} + $1 * 1000000))
  shift
  until "$@"; do
    [ "${EPOCHREALTIME/./}" -lt "$end" ] || return 1
    sleep 0.2
  done
}

# wait_exit PID [SECONDS]: waits for the process; EXIT_CODE gets its code
# (124 when it did not end in time, and then it is killed).
wait_exit() {
  local pid=$1 seconds=${2:-20} i
  for i in $(seq $((seconds * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      EXIT_CODE=$?
      return 0
    fi
    sleep 0.1
  done
  kill "$pid" 2>/dev/null
  EXIT_CODE=124
  return 1
}

# find_window TITLE: prints the X window ids whose name is exactly TITLE.
find_window() {
  xdotool search --name "^$(printf '%s' "$1" | sed 's/[][\\.^$*+?(){}|]/\\&/g')\$" 2>/dev/null
}

# wait_for_window TITLE [SECONDS]
wait_for_window() {
  local title=$1 seconds=${2:-20} i
  for i in $(seq $((seconds * 10))); do
    [ -n "$(find_window "$title")" ] && return 0
    sleep 0.1
  done
  return 1
}

# wait_for_no_window TITLE [SECONDS]
wait_for_no_window() {
  local title=$1 seconds=${2:-20} i
  for i in $(seq $((seconds * 10))); do
    [ -z "$(find_window "$title")" ] && return 0
    sleep 0.1
  done
  return 1
}

# Window geometry of the first window with this exact title: "X Y W H".
# Wine may replace a window's X window while it sets the window up (a GL
# pixel format, a display change), so an X window just found can be gone a
# moment later: the first one that answers counts, tried for 5 s.
window_geometry() {
  local id geometry i
  for i in $(seq 50); do
    for id in $(find_window "$1"); do
      geometry=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | awk -F= '
        $1=="X"{x=$2} $1=="Y"{y=$2} $1=="WIDTH"{w=$2} $1=="HEIGHT"{h=$2}
        END{if (w != "") print x, y, w, h}')
      [ -n "$geometry" ] && { echo "$geometry"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

# screenshot NAME: saves the whole X screen as $ART/NAME.png and prints the path.
screenshot() {
  local file="$ART/$1.png"
  import -window root "$file" >/dev/null 2>&1 || xwd -root -silent | convert xwd:- "$file"
  echo "$file"
}

# pixel_at FILE X Y: prints "R G B" (0..255) of one pixel.
pixel_at() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 rgb:- | od -An -tu1 | awk '{print $1, $2, $3}'
}

# mean_of FILE [GEOMETRY]: prints the mean brightness (0..255) of the image or
# of a crop like 200x100+10+10.
mean_of() {
  local crop=()
  [ -n "${2:-}" ] && crop=(-crop "$2")
  convert "$1" "${crop[@]}" -colorspace Gray -format '%[fx:round(mean*255)]' info:
}

# differing_pixels A B [GEOMETRY]: number of pixels that differ (after an optional crop).
differing_pixels() {
  local crop=() a="$ART/.diff-a.png" b="$ART/.diff-b.png"
  [ -n "${3:-}" ] && crop=(-crop "$3" +repage)
  convert "$1" "${crop[@]}" "$a" && convert "$2" "${crop[@]}" "$b" || return 1
  compare -metric AE "$a" "$b" null: 2>&1 | awk '{print int($1)}'
  rm -f "$a" "$b"
}

# set_desktop_picture FILE: shows a picture on the root window of the display.
set_desktop_picture() {
  display -window root "$1" >/dev/null 2>&1 &
  HARNESS_PIDS+=("$!")
  sleep 1
}

# press_key KEYSYM: a key held down for a moment, as a person presses it, at
# the window under the pointer. (The renderer looks at its keys only between
# frames, so a press and release that arrive together do not count.)
press_key() {
  xdotool keydown "$1"
  sleep 0.4
  xdotool keyup "$1"
}

# renderer_count: renderer processes running on this test's display. Each
# test has a display of its own; processes, not X windows, are counted, as
# Wine may briefly hold two X windows for one GL window.
renderer_count() {
  renderer_pids | wc -l
}

# renderer_pids, host_pids: the PIDs of those processes of Ripplume.dll or of
# Ripplume.scr on this test's display, one a line.
renderer_pids() { program_pids 'Ripplume\.dll'; }
host_pids() { program_pids 'Ripplume\.scr'; }
program_pids() {
  local pid
  for pid in $(pgrep -f "$1"); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "DISPLAY=$DISPLAY" && echo "$pid"
  done
}

# cpu_ticks PID: the CPU time the process has used, all its threads, in clock ticks.
cpu_ticks() {
  cat /proc/"$1"/task/*/stat 2>/dev/null | awk '{ sub(/^.*\) /, ""); t += $12 + $13 } END { print t + 0 }'
}

# Sends a key to the window with this exact title (focus first; no window manager here).
key_to_window() {
  local id
  id=$(find_window "$1" | head -n 1)
  [ -n "$id" ] || return 1
  xdotool windowfocus --sync "$id" key "$2"
}

# escape_renderer: Escape at the full-screen renderer until its window goes.
# A key pressed the moment the window appears can be lost (the renderer may still be
# loading, and sees the press and the release together), so it is retried.
escape_renderer() {
  local attempt
  for attempt in 1 2 3; do
    xdotool mousemove 512 384
    press_key Escape
    wait_for_no_window Ripplume_VC 4 && return 0
  done
  return 1
}

# end_run PID: Escape ends the renderer, and with it the run.
end_run() {
  escape_renderer || { log "the renderer did not end on Escape"; return 1; }
  wait_exit "$1" 5
}
