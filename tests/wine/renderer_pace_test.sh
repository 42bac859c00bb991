#!/usr/bin/env bash
# The water keeps the same speed on every display and rests when nobody sees
# it: the renderer shows no more than 61 frames in any second, and while it
# is minimised, the display is off or the session locked it waits instead of
# drawing, using almost no CPU; it draws again as soon as it is back. Behind a
# window the user switched to it keeps moving, that window takes the keys,
# and the water is over every window again once it is active again.
here=$(dirname "$0")
source "$here/harness.sh"
# A small screen, so that a machine without a GPU draws well over 60 frames a
# second when nothing holds it back and the cap is put to the test: with the
# pace taken out, 87-111 swaps a second were seen here (2 cores, load 4),
# with it 51-58.
harness_init renderer_pace 640x480

mkdir -p "$HANDOVER"
bash "$here/sample-desktop.sh" desktop "$ART/desktop.png"
convert "$ART/desktop.png" -type TrueColor BMP3:"$PICTURE"

# Wine traces every buffer swap, with the time, into the renderer's log.
WINEDEBUG=+timestamp,trace+wgl wine_start RENDERER "$BIN/Ripplume.dll"
TRACE="$ART/RENDERER.log"
check "the window Ripplume_VC appears" wait_for_window Ripplume_VC 30
swaps_past() { [ "$(swaps "$TRACE")" -gt "$1" ]; }
check "it draws frames" wait_for 60 swaps_past 120
PID=$(renderer_pids | head -n 1)

# busy_share SECONDS: the renderer's CPU use over that time, in per cent of one core.
busy_share() {
  local before after
  before=$(cpu_ticks "$PID")
  sleep "$1"
  after=$(cpu_ticks "$PID")
  echo $(((after - before) * 100 / ($(getconf CLK_TCK) * $1)))
}

# Swaps per whole second of the trace's clock, a line each from its first
# whole second to its last, seconds without a swap as 0.
swaps_per_second() {
  grep glxdrv_wglSwapBuffers "$TRACE" | awk -F: '{ print int($1) }' | awk '
    NR == 1 { first = $1 } { n[$1]++; last = $1 }
    END { for (s = first + 1; s < last; s++) print n[s] + 0 }'
}
# A stretch of whole seconds of running frames, however fast this machine draws them.
stretch_of_seconds() { [ "$(swaps_per_second | wc -l)" -ge "$1" ]; }
check "it goes on drawing for a stretch of seconds" wait_for 30 stretch_of_seconds 6
per_second=$(swaps_per_second | tail -n 4)
most=$(sort -n <<<"$per_second" | tail -n 1)
least=$(sort -n <<<"$per_second" | head -n 1)
log "swaps per second: $(tr '\n' ' ' <<<"$per_second")"
check "no second shows more than 61 frames (most: $most)" test "${most:-999}" -le 61
check "and every second shows frames (least: $least)" test "${least:-0}" -ge 1

# rests_while STATE SECONDS: within SECONDS the renderer stops drawing, and
# over the next 3 s it uses almost no CPU and shows no frames.
rests_while() {
  local shown share
  check "$1, it stops drawing" wait_for "$2" swaps_stopped "$TRACE"
  shown=$(swaps "$TRACE")
  share=$(busy_share 3)
  log "$1: $share % of a core, $(($(swaps "$TRACE") - shown)) swaps in 3 s"
  check "$1, it uses almost no CPU ($share % of a core)" test "$share" -le 5
  check "and shows no frames" test "$(($(swaps "$TRACE") - shown))" -le 1
}
# draws_again WHEN: 30 more frames within 20 s.
draws_again() { check "$1, it draws again" wait_for 20 swaps_past $(($(swaps "$TRACE") + 30)); }

wine "$BIN/wintool.exe" syscommand Ripplume_VC F020 >/dev/null 2>&1  # SC_MINIMIZE
rests_while minimised 10
wine "$BIN/wintool.exe" syscommand Ripplume_VC F120 >/dev/null 2>&1  # SC_RESTORE
draws_again restored

# notice WHAT: the system's notice of WHAT, as Windows sends it to the window.
notice() { check "the $1 notice is delivered" wine "$BIN/wintool.exe" notice Ripplume_VC "$1"; }
notice display-off
rests_while "with the display off" 10
notice display-on
draws_again "with the display on"
notice lock
rests_while "while the session is locked" 10
notice unlock
draws_again "unlocked"

check "another window takes the activation" hold ACTIVE take-activation 15
check "the water is no longer over every window" wait_for 5 sh -c "! wine '$BIN/wintool.exe' topmost Ripplume_VC"
draws_again "behind another window"
# The pointer over that window, as when the user clicked it, then Escape.
xdotool mousemove --sync 20 20
xdotool key Escape
check "Escape goes to the window the user switched to" wait_for 5 grep -q escape "$ART/ACTIVE.log"
check "and leaves the water running" test -n "$(find_window Ripplume_VC)"
wait_exit "$ACTIVE" 25
check "active again, it is over every window" wait_for 10 wine "$BIN/wintool.exe" topmost Ripplume_VC
draws_again "back in front"
escape_renderer
check "Escape still ends it" wait_exit "$RENDERER" 10
finish_checks
