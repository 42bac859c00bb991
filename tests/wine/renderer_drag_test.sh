#!/usr/bin/env bash
# A left-button drag dents the water. On a flat grey picture the camera's
# orbit and the texture scroll change nothing on screen: only waves do, and
# the drag's outnumber those of the random drops (drag_stirs).
here=$(dirname "$0")
source "$here/harness.sh"
harness_init renderer_drag

mkdir -p "$HANDOVER"
bash "$here/sample-desktop.sh" grey "$ART/grey.png"
convert "$ART/grey.png" -type TrueColor BMP3:"$PICTURE"

wine_start RENDERER "$BIN/Ripplume.dll"
check "the window Ripplume_VC appears" wait_for_window Ripplume_VC 30

# The grey surface is drawn (a window not yet drawn is black).
surface_drawn() { [ "$(mean_of "$(screenshot before_drag)" 1024x600+0+168)" -gt 40 ]; }
check "the grey water is drawn" wait_for 10 surface_drawn
check "a left-button drag stirs the water" drag_stirs 1024x600+0+168

press_key Escape
wait_exit "$RENDERER" 20
check "Escape ends the renderer with exit code 0 (got $EXIT_CODE)" test "$EXIT_CODE" -eq 0
finish_checks
