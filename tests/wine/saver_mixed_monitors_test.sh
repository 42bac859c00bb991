#!/usr/bin/env bash
# Monitors of mixed sizes, a 1920 x 1080 primary beside a 1280 x 1024 one:
# the whole virtual screen is handed over, mirrored, and each monitor is
# filled edge to edge at its own size with water of its own part.
here=$(dirname "$0")
source "$here/harness.sh"
source "$here/monitor_checks.sh"
harness_init saver_mixed_monitors mixed-monitors

runs_over_two_monitors "$(printf '0 0 1920 1080 1\n1920 0 3200 1024 0')" 1920x1080+0+0 1280x1024+1920+0
finish_checks
