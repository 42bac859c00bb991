#!/usr/bin/env bash
# Checks of the water on several monitors, for tests that paint each monitor
# in two colours of its own: red and green, or blue and yellow.

# colours FILE GEOMETRY: how many pixels of that part are red, green, blue and yellow.
colours() {
  convert "$1" -crop "$2" +repage -depth 8 rgb:- | od -An -v -tu1 -w3 | awk '
    $1 > 150 && $2 < 90 && $3 < 90 { r++ } $2 > 150 && $1 < 90 && $3 < 90 { g++ }
    $3 > 150 && $1 < 90 && $2 < 120 { b++ } $1 > 180 && $2 > 160 && $3 < 120 { y++ }
    END { print r + 0, g + 0, b + 0, y + 0 }'
}

# shows_own_colours FILE RED_GREEN_PART BLUE_YELLOW_PART: each part shows its
# own two colours, plenty of each, and hardly a pixel of the other's (edges
# blend a few). Leaves the counts in pr pg pb py (first part) and sr sg sb sy.
shows_own_colours() {
  read -r pr pg pb py < <(colours "$1" "$2")
  read -r sr sg sb sy < <(colours "$1" "$3")
  [ "$pr" -gt 5000 ] && [ "$pg" -gt 5000 ] && [ $((pb + py)) -lt $(((pr + pg) / 50)) ] &&
    [ "$sb" -gt 5000 ] && [ "$sy" -gt 5000 ] && [ $((sr + sg)) -lt $(((sb + sy) / 50)) ]
}

# water_to_the_edges FILE GEOMETRY: the band of the screen in GEOMETRY holds no
# black (nothing drawn) and none of the desktop behind (magenta): water from
# edge to edge.
water_to_the_edges() {
  convert "$1" -crop "$2" +repage -depth 8 rgb:- | od -An -v -tu1 -w3 | awk '
    $1 + $2 + $3 < 30 || ($1 > 240 && $2 < 20 && $3 > 240) { bad++ } END { exit bad > 0 }'
}

# starts_run_over_monitors WIDTH HEIGHT BEFORE [GEOMETRY...]: starts a saver
# run and checks that its window covers the virtual screen (WIDTH x HEIGHT
# from 0, 0) and that the picture handed over is the screenshot BEFORE,
# mirrored: all of it, or the monitors at those parts of the X screen.
starts_run_over_monitors() {
  local x y w h part pw ph px py differing=0
  # The renderer keeps the picture it read, to be compared here.
  RIPPLUME_TEST_KEEP_PICTURE=1 wine_start HOST "$BIN/Ripplume.scr" /s
  check "the run starts" wait_for_window Ripplume_VC 30
  read -r x y w h < <(window_geometry Ripplume_VC)
  check "the water's window covers every monitor (got $x $y $w $h)" test "$x $y $w $h" = "0 0 $1 $2"
  convert "$PICTURE" "$ART/handed_over.png"
  convert "$3" -flop "$ART/mirrored.png"
  check "the hand-over picture is of the virtual screen's size" \
    test "$(identify -format '%w %h' "$ART/handed_over.png")" = "$1 $2"
  [ $# -gt 3 ] || set -- "$1" "$2" "$3" "${1}x$2+0+0"
  for part in "${@:4}"; do
    IFS='x+' read -r pw ph px py <<<"$part"
    part="${pw}x$ph+$(($1 - px - pw))+$py"  # in the mirrored picture
    differing=$((differing + $(differing_pixels "$ART/handed_over.png" "$ART/mirrored.png" "$part")))
  done
  check "the hand-over picture is the virtual screen, mirrored" test "$differing" = 0
}

# monitors_in_colours PRIMARY_WIDTH SECOND_WIDTH HEIGHT [GEOMETRY...]: shows a
# desktop of a primary with a second monitor to its right, each in its two
# colours, the left half of each differing from its right half (so a mirror
# shows); waits for all of it, or for the monitors at those parts.
monitors_in_colours() {
  local p=$1 s=$2 h=$3
  convert -size "$((p + s))x$h" xc:black \
    -fill '#d02020' -draw "rectangle 0,0 $((p / 2 - 1)),$((h - 1))" \
    -fill '#20c020' -draw "rectangle $((p / 2)),0 $((p - 1)),$((h - 1))" \
    -fill '#2040d0' -draw "rectangle $p,0 $((p + s / 2 - 1)),$((h - 1))" \
    -fill '#f0d040' -draw "rectangle $((p + s / 2)),0 $((p + s - 1)),$((h - 1))" \
    -type TrueColor "$ART/desktop.png"
  show_on_root "$ART/desktop.png" "${@:4}"
}

# own_water: the screen now shows water of their own on the red and green
# monitor at $PRIMARY and the blue and yellow one at $SECOND.
own_water() { shows_own_colours "$(screenshot during)" "$PRIMARY" "$SECOND"; }

# check_own_water SECONDS: waits up to SECONDS for own_water, and checks it.
check_own_water() {
  wait_for "$1" own_water
  log "primary: red $pr green $pg blue $pb yellow $py; second: red $sr green $sg blue $sb yellow $sy"
  check "each monitor shows water of its own part and nothing of the other's" own_water
}

# runs_over_two_monitors LAYOUT LEFT RIGHT: Wine sees the monitors as wintool
# lists them in LAYOUT; on the X screen the monitor at LEFT (WxH+X+Y) is
# painted red and green, the one at RIGHT blue and yellow. A run hands the
# whole screen over, mirrored, fills each monitor edge to edge with water of
# its own part, and Escape ends it.
runs_over_two_monitors() {
  local lw lh lx ly rw rh rx ry shot
  IFS='x+' read -r lw lh lx ly <<<"$2"
  IFS='x+' read -r rw rh rx ry <<<"$3"
  wine "$BIN/wintool.exe" monitors 2>/dev/null | tr -d '\r' >"$ART/monitors.txt"
  check "Wine sees the monitors at $(tr '\n' ';' <<<"$1")" test "$(cat "$ART/monitors.txt")" = "$1"
  PRIMARY=$2
  SECOND=$3
  local width=$((rx + rw)) height=$((ly + lh > ry + rh ? ly + lh : ry + rh))
  # What parts of the X screen are on no monitor hold what they may.
  monitors_in_colours "$lw" "$rw" "$height" "$2" "$3"
  starts_run_over_monitors "$width" "$height" "$(screenshot before)" "$2" "$3"
  check_own_water 20
  shot=$(screenshot during)
  check "the left monitor's bottom is water from edge to edge" \
    water_to_the_edges "$shot" "${lw}x40+$lx+$((ly + lh - 40))"
  check "the right monitor's bottom is water from edge to edge" \
    water_to_the_edges "$shot" "${rw}x40+$rx+$((ry + rh - 40))"
  check "Escape ends the run" escape_renderer
  check "the host has ended" wait_for 10 sh -c "! wine '$BIN/wintool.exe' exists Ripplume_Main"
}
