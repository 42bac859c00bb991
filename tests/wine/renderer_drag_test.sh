#!/usr/bin/env bash
# A left-button drag dents the water. On a flat grey picture the camera's
# orbit and the texture scroll change nothing on screen, so every change seen
# after the drag comes from the waves it made.
here=$(dirname "$0")
source "$here/harness.sh"
harness_init renderer_drag

mkdir -p "$HANDOVER"
bash "$here/sample-desktop.sh" grey "$ART/grey.png"
convert "$ART/grey.png" -type TrueColor BMP3:"$PICTURE"

wine_start RENDERER "$BIN/Ripplume.dll"
check "the window Ripplume_VC appears" wait_for_window Ripplume_VC 30

# Pixels that differ from the flat surface's own colour in each screenshot.
off_surface() {
  convert "$1" -crop 1024x600+0+168 -depth 8 rgb:- | od -An -v -tu1 -w3 | awk '
    { key = $1 " " $2 " " $3; n[key]++; total++ }
    END { best = 0; for (k in n) if (n[k] > best) best = n[k]; print total - best }'
}
# The grey surface is drawn (a window not yet drawn is black).
surface_drawn() { [ "$(mean_of "$(screenshot before_drag)" 1024x600+0+168)" -gt 40 ]; }
check "the grey water is drawn" wait_for 10 surface_drawn
calm=$(off_surface "$ART/before_drag.png")

xdotool mousemove 300 300 mousedown 1
for step in $(seq 1 20); do xdotool mousemove $((300 + step * 20)) $((300 + step * 10)); sleep 0.02; done
xdotool mouseup 1
stirred() {
  STIRRED=$(off_surface "$(screenshot after_drag)")
  [ "$STIRRED" -gt $((calm + 2000)) ]
}
check "the drag changes the picture" wait_for 5 stirred
log "pixels off the flat colour: before $calm, after $STIRRED"

press_key Escape
wait_exit "$RENDERER" 20
check "Escape ends the renderer with exit code 0 (got $EXIT_CODE)" test "$EXIT_CODE" -eq 0
finish_checks
