#!/usr/bin/env bash
# Shared helpers for tests that run the Windows programs under Wine on a
# private Xvfb display. Source it, then call harness_init NAME [WIDTHxHEIGHT].
# Everything started through it is ended when the script exits.
#
# Environment (set by CTest): RIPPLUME_BIN (folder of Ripplume.dll / .scr and
# test programs), RIPPLUME_ARTIFACTS (where screenshots go), RIPPLUME_WINE_PREFIX.

set -u

HARNESS_LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")/../lib" && pwd)
source "$HARNESS_LIB/checks.sh"
source "$HARNESS_LIB/machine.sh"
source "$HARNESS_LIB/x_display.sh"
source "$HARNESS_LIB/wine.sh"
HARNESS_PIDS=()

harness_cleanup() {
  local pid
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  for pid in "${HARNESS_PIDS[@]}"; do kill "$pid" >/dev/null 2>&1; done
  stop_x_servers
  [ -n "${WINEPREFIX:-}" ] && wineserver -w >/dev/null 2>&1
  [ -n "${WINEPREFIX:-}" ] && forget_primary_monitor
  wait >/dev/null 2>&1
  return 0
}

# Wine's choice of primary monitor (X11 driver "PrimaryMonitor", an index
# into the Xinerama heads), set by the left-above-monitors rig. It is the
# shared prefix's, so it is undone after the run and before any other.
forget_primary_monitor() {
  grep -q '"PrimaryMonitor"' "$WINEPREFIX/user.reg" 2>/dev/null || return 0
  wine reg delete 'HKCU\Software\Wine\X11 Driver' /v PrimaryMonitor /f >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  return 0
}

# harness_init NAME [WIDTHxHEIGHT | two-monitors | mixed-monitors | left-above-monitors]
# two-monitors: a 1024 x 768 primary monitor with an 800 x 600 one to its
# right, as Wine sees them in a nested Xephyr server with Xinerama (Wine takes
# its monitors from Xinerama when RandR is off). mixed-monitors: a 1920 x 1080
# primary with a 1280 x 1024 one to its right. left-above-monitors: a
# 1280 x 1024 primary with a 1920 x 1080 monitor left of it and 300 pixels
# higher, at -1920, -300 (on the X screen, the 1920 x 1080 head at 0, 0 and
# the primary at 1920, 300).
harness_init() {
  local name=$1 size=${2:-1024x768}
  trap harness_cleanup EXIT
  trap 'exit 130' INT TERM
  ART=${RIPPLUME_ARTIFACTS:-$PWD/test-artifacts}/$name
  rm -rf "$ART"
  mkdir -p "$ART"
  BIN=${RIPPLUME_BIN:?RIPPLUME_BIN must name the folder of the built programs}

  if [ "$size" = two-monitors ] || [ "$size" = mixed-monitors ] || [ "$size" = left-above-monitors ]; then
    local outer=2048x1024 screens=(-screen 1024x768 -origin 1024,0 -screen 800x600)
    [ "$size" = mixed-monitors ] && outer=3264x1088 screens=(-screen 1920x1080 -screen 1280x1024)
    [ "$size" = left-above-monitors ] && outer=3264x1332 screens=(-screen 1920x1080 -origin 1920,300 -screen 1280x1024)
    start_x_server Xvfb ":@N" -screen 0 "${outer}x24" -nolisten tcp -noreset || { echo "could not start Xvfb"; exit 1; }
    DISPLAY=$X_DISPLAY start_x_server Xephyr ":@N" "${screens[@]}" +xinerama \
      -extension RANDR -nolisten tcp -noreset || { echo "could not start Xephyr"; exit 1; }
  else
    start_x_server Xvfb ":@N" -screen 0 "${size}x24" -nolisten tcp -noreset || { echo "could not start Xvfb"; exit 1; }
  fi
  export DISPLAY=$X_DISPLAY

  export WINEPREFIX=${RIPPLUME_WINE_PREFIX:?RIPPLUME_WINE_PREFIX must name the test prefix}
  export WINEDEBUG=-all
  # The renderer draws at full size and swaps, whatever the machine's load:
  # the checks count swaps and look at full-size frames. The scale has tests
  # of its own.
  export RIPPLUME_RENDER_SCALE=${RIPPLUME_RENDER_SCALE:-1}
  if file -b "$BIN/wintool.exe" | grep -q '^PE32 ' && ! runs_32bit_code; then
    echo "These are 32-bit programs and this machine cannot run 32-bit code: test the 64-bit build (cmake/mingw-x86_64.cmake)."
    exit 1
  fi
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  prepare_wine_prefix "$WINEPREFIX" || { echo "no Wine prefix"; exit 1; }
  forget_primary_monitor
  if [ "$size" = left-above-monitors ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v PrimaryMonitor /d 1 /f >/dev/null 2>&1
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
  fi
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
  local var=$1 out="$ART/$1.log"
  shift
  wine "$BIN/wintool.exe" "$@" >"$out" 2>&1 &
  HARNESS_PIDS+=("$!")
  printf -v "$var" '%s' "$!"
  wait_for 10 grep -q held "$out"
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
no_host() { [ -z "$(host_pids)" ]; }
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
