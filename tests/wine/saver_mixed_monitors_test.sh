#!/usr/bin/env bash
# Monitors of mixed sizes, a 1920 x 1080 primary beside a 1280 x 1024 one:
# the whole virtual screen is handed over, mirrored, and each monitor is
# filled edge to edge at its own size with water of its own part.
here=$(dirname "$0")
source "$here/harness.sh"
source "$here/monitor_checks.sh"
harness_init saver_mixed_monitors mixed-monitors

wine "$BIN/wintool.exe" monitors 2>/dev/null | tr -d '\r' >"$ART/monitors.txt"
check "Wine sees a 1920 x 1080 primary and a 1280 x 1024 monitor to its right" \
  test "$(cat "$ART/monitors.txt")" = "$(printf '0 0 1920 1080 1\n1920 0 3200 1024 0')"
PRIMARY=1920x1080+0+0
SECOND=1280x1024+1920+0

monitors_in_colours 1920 1280 1080
before=$(screenshot before)

starts_run_over_monitors 3200 1080 "$before"

check_own_water 20
shot=$(screenshot during)
check "the primary's bottom is water from edge to edge" water_to_the_edges "$shot" 1920x40+0+1040
check "the second's bottom is water from edge to edge" water_to_the_edges "$shot" 1280x40+1920+984

check "Escape ends the run" escape_renderer
check "the host has ended" wait_for 10 sh -c "! wine '$BIN/wintool.exe' exists Ripplume_Main"
finish_checks
