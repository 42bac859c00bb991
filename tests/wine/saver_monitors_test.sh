#!/usr/bin/env bash
# Several monitors, each with water of its own: the host hands over the whole
# virtual screen mirrored; each monitor shows its own part of it and nothing
# of the other's; a drag on the second monitor stirs the second alone; the
# user's windows stay hidden under the water, and the X screen and the
# windows are as they were once the run is over.
here=$(dirname "$0")
source "$here/harness.sh"
source "$here/monitor_checks.sh"
harness_init saver_monitors two-monitors

wine "$BIN/wintool.exe" monitors 2>/dev/null | tr -d '\r' >"$ART/monitors.txt"
log "monitors: $(tr '\n' ';' <"$ART/monitors.txt")"
check "Wine sees the primary monitor and one to its right" \
  test "$(cat "$ART/monitors.txt")" = "$(printf '0 0 1024 768 1\n1024 0 1824 600 0')"
PRIMARY=1024x768+0+0
SECOND=800x600+1024+0

monitors_in_colours 1024 800 768
screen_size() { xdpyinfo | awk '/dimensions:/ { print $2 }'; }
size_before=$(screen_size)
# A user's window on the second monitor.
xmessage -geometry +1300+200 -bg '#f0d040' -fg '#f0d040' 'a user window' >/dev/null 2>&1 &
HARNESS_PIDS+=("$!")
user_window() { xdotool getwindowgeometry "$(find_window xmessage | head -n 1)" 2>/dev/null | awk '/Position|Geometry/ { print $2 }' | tr '\n' ' '; }
placed() { [ -n "$(user_window)" ]; }
check "a user's window is up" wait_for 30 placed
window_before=$(user_window)
before=$(screenshot before)

starts_run_over_monitors 1824 768 "$before"

check_own_water 15

# waves FILE GEOMETRY: the pixels of that part that are none of the desktop's
# colours and not black: where the surface folds over itself and adds up.
waves() {
  convert "$1" -crop "$2" +repage -depth 8 rgb:- | od -An -v -tu1 -w3 | awk '
    $1 > 150 && $2 < 90 && $3 < 90 { next } $2 > 150 && $1 < 90 && $3 < 90 { next }
    $3 > 150 && $1 < 90 && $2 < 120 { next } $1 > 180 && $2 > 160 && $3 < 120 { next }
    $1 + $2 + $3 < 40 { next } { n++ } END { print n + 0 }'
}
# The sweeps cover the second monitor alone.
drag_on_second() { WAVES=waves SWEEP_AREA="1100 150 1780 550" drag_stirs "$SECOND" "$PRIMARY"; }
check "a drag on the second monitor stirs it, and the primary no more than the drops do" drag_on_second

# Windows says the monitors changed, though they are the same: each keeps
# its own water, and the window still covers both.
check "the renderer is told the display changed" wine "$BIN/wintool.exe" display-change Ripplume_VC
check "each monitor keeps its own water" stays_so 3 own_water
read -r x y w h < <(window_geometry Ripplume_VC)
check "and the window covers both monitors (got $x $y $w $h)" test "$x $y $w $h" = "0 0 1824 768"

check "Escape ends the run" escape_renderer
check "the host has ended" wait_for 10 sh -c "! wine '$BIN/wintool.exe' exists Ripplume_Main"
check "the X screen is the size it was ($size_before, now $(screen_size))" test "$(screen_size)" = "$size_before"
check "the user's window is where it was ($window_before, now $(user_window))" test "$(user_window)" = "$window_before"
comes_back() { [ "$(differing_pixels "$(screenshot after_run)" "$before")" -lt 100 ]; }
check "both monitors show the desktop again" wait_for 10 comes_back
finish_checks
