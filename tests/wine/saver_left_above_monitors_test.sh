#!/usr/bin/env bash
# A monitor left of and above the primary, so at negative coordinates, and of
# another size: the virtual screen from -1920, -300 is handed over, mirrored,
# and each monitor is filled edge to edge with water of its own part.
here=$(dirname "$0")
source "$here/harness.sh"
source "$here/monitor_checks.sh"
harness_init saver_left_above_monitors left-above-monitors

wine "$BIN/wintool.exe" monitors 2>/dev/null | tr -d '\r' >"$ART/monitors.txt"
check "Wine sees a 1280 x 1024 primary and a 1920 x 1080 monitor at -1920, -300" \
  test "$(cat "$ART/monitors.txt")" = "$(printf '0 0 1280 1024 1\n-1920 -300 0 780 0')"
# On the X screen: the left monitor (red and green) and the primary (blue and yellow).
PRIMARY=1920x1080+0+0
SECOND=1280x1024+1920+300

monitors_in_colours 1920 1280 1324
before=$(screenshot before)

starts_run_over_monitors 3200 1324 "$before"

check_own_water 20
shot=$(screenshot during)
check "the left monitor's bottom is water from edge to edge" water_to_the_edges "$shot" 1920x40+0+1040
check "the primary's bottom is water from edge to edge" water_to_the_edges "$shot" 1280x40+1920+1284

check "Escape ends the run" escape_renderer
check "the host has ended" wait_for 10 sh -c "! wine '$BIN/wintool.exe' exists Ripplume_Main"
finish_checks
