#!/usr/bin/env bash
# A monitor left of and above the primary, so at negative coordinates, and of
# another size: the virtual screen from -1920, -300 is handed over, mirrored,
# and each monitor is filled edge to edge with water of its own part.
here=$(dirname "$0")
source "$here/harness.sh"
source "$here/monitor_checks.sh"
harness_init saver_left_above_monitors left-above-monitors

# A 1280 x 1024 primary and a 1920 x 1080 monitor at -1920, -300: on the X
# screen the latter at 0, 0 and the primary at 1920, 300.
runs_over_two_monitors "$(printf '0 0 1280 1024 1\n-1920 -300 0 780 0')" 1920x1080+0+0 1280x1024+1920+300
finish_checks
