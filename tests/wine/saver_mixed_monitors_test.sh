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

convert -size 3200x1080 xc:black \
  -fill '#d02020' -draw 'rectangle 0,0 959,1079' -fill '#20c020' -draw 'rectangle 960,0 1919,1079' \
  -fill '#2040d0' -draw 'rectangle 1920,0 2559,1079' -fill '#f0d040' -draw 'rectangle 2560,0 3199,1079' \
  -type TrueColor "$ART/desktop.png"
show_on_root "$ART/desktop.png"
before=$(screenshot before)

wine_start HOST "$BIN/Ripplume.scr" /s
check "the run starts" wait_for_window Ripplume_VC 30
read -r x y w h < <(window_geometry Ripplume_VC)
check "the water's window covers both monitors (got $x $y $w $h)" test "$x $y $w $h" = "0 0 3200 1080"
convert "$PICTURE" "$ART/handed_over.png"
convert "$before" -flop "$ART/mirrored.png"
check "the hand-over picture is of the virtual screen's size" \
  test "$(identify -format '%w %h' "$ART/handed_over.png")" = "3200 1080"
check "the hand-over picture is the virtual screen, mirrored" \
  test "$(differing_pixels "$ART/handed_over.png" "$ART/mirrored.png")" = 0

own_water() { shows_own_colours "$(screenshot during)" "$PRIMARY" "$SECOND"; }
wait_for 20 own_water
log "primary: red $pr green $pg blue $pb yellow $py; second: red $sr green $sg blue $sb yellow $sy"
check "each monitor shows water of its own part and nothing of the other's" own_water
shot=$(screenshot during)
check "the primary's bottom is water from edge to edge" water_to_the_edges "$shot" 1920x40+0+1040
check "the second's bottom is water from edge to edge" water_to_the_edges "$shot" 1280x40+1920+984

check "Escape ends the run" escape_renderer
check "the host has ended" wait_for 10 sh -c "! wine '$BIN/wintool.exe' exists Ripplume_Main"
finish_checks
