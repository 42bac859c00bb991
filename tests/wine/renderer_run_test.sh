#!/usr/bin/env bash
# The renderer shows the hand-over picture as water, full screen, stirs the
# water under a left-button drag and ends with exit code 0 on Escape.
here=$(dirname "$0")
source "$here/harness.sh"
harness_init renderer_run

mkdir -p "$HANDOVER"
bash "$here/sample-desktop.sh" desktop "$ART/desktop.png"
convert "$ART/desktop.png" -type TrueColor BMP3:"$PICTURE"

wine_start RENDERER "$BIN/Ripplume.dll"
check "the window Ripplume_VC appears" wait_for_window Ripplume_VC 30
read -r x y w h < <(window_geometry Ripplume_VC)
check "it covers the 1024 x 768 screen (got $x $y $w $h)" test "$x $y $w $h" = "0 0 1024 768"

# The picture's red and blue windows must show through the water: plenty of
# clearly red and clearly blue pixels, so the screen is neither black nor noise.
water_shows() {
  local counts
  counts=$(convert "$(screenshot water)" -depth 8 rgb:- | od -An -v -tu1 -w3 | awk '
    { if ($1 > $3 + 60 && $1 > $2 + 60) red++; if ($3 > $1 + 60 && $3 > $2 + 30) blue++; if ($1 + $2 + $3 < 30) black++ }
    END { print red + 0, blue + 0, black + 0 }')
  read -r red blue black <<<"$counts"
  [ "$red" -gt 5000 ] && [ "$blue" -gt 5000 ] && [ "$black" -lt 600000 ]
}
wait_for 15 water_shows
log "red $red, blue $blue, black $black pixels"
check "red window visible on the water" test "$red" -gt 5000
check "blue window visible on the water" test "$blue" -gt 5000
check "the surface is not black" test "$black" -lt 600000

press_key Escape
wait_exit "$RENDERER" 20
check "Escape ends the renderer with exit code 0 (got $EXIT_CODE)" test "$EXIT_CODE" -eq 0
check "the window is gone" wait_for_no_window Ripplume_VC 5
finish_checks
