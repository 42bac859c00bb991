#!/usr/bin/env bash
# A 1920 x 1080 display, which offers no 1024 x 768 mode: the renderer leaves
# the mode alone and fills the display edge to edge with water at its own size;
# drawn at half size it is scaled up to the same, the right way round.
here=$(dirname "$0")
source "$here/harness.sh"
source "$here/monitor_checks.sh"
harness_init renderer_display 1920x1080

mkdir -p "$HANDOVER"
bash "$here/sample-desktop.sh" desktop "$ART/desktop.png"
convert "$ART/desktop.png" -resize '1920x1080!' -type TrueColor "$ART/desktop-1080.png"
convert "$ART/desktop-1080.png" BMP3:"$PICTURE"
# The desktop under the water: a colour the picture does not hold.
convert -size 1920x1080 xc:'#ff00ff' "$ART/root.png"
show_on_root "$ART/root.png"

wine_start RENDERER "$BIN/Ripplume.dll"
check "the window Ripplume_VC appears" wait_for_window Ripplume_VC 30
read -r x y w h < <(window_geometry Ripplume_VC)
check "it covers the 1920 x 1080 display (got $x $y $w $h)" test "$x $y $w $h" = "0 0 1920 1080"
check "the display keeps its size" test "$(xdpyinfo | awk '/dimensions:/ { print $2 }')" = 1920x1080

# The near water fills the bottom of the screen from edge to edge: the
# bottom band holds no black (nothing drawn) and none of the desktop.
band_is_water() { water_to_the_edges "$(screenshot water)" 1920x60+0+1020; }
check "the bottom of the screen is water from edge to edge" wait_for 15 band_is_water

check "Escape ends the renderer" escape_renderer
wait_exit "$RENDERER" 20
check "Escape ends the renderer with exit code 0 (got $EXIT_CODE)" test "$EXIT_CODE" -eq 0

# Half size, scaled up: water to the edges at the bottom, sky at the top, and
# the picture's red and blue windows in their own colours.
scaled_right() {
  local shot
  shot=$(screenshot scaled)
  water_to_the_edges "$shot" 1920x60+0+1020 && [ "$(mean_of "$shot" 1920x40+0+20)" -lt 10 ] &&
    convert "$shot" -fuzz 8% -fill black +opaque '#d02020' -format '%[fx:mean>0.001]' info: | grep -q 1 &&
    convert "$shot" -fuzz 8% -fill black +opaque '#2040d0' -format '%[fx:mean>0.001]' info: | grep -q 1
}
convert "$ART/desktop-1080.png" BMP3:"$PICTURE"  # the renderer deleted the one it read
RIPPLUME_RENDER_SCALE=0.5 wine_start RENDERER "$BIN/Ripplume.dll"
check "at half size the frame is scaled up to the display, the right way round, in its colours" \
  wait_for 30 scaled_right
check "Escape ends it" escape_renderer
wait_exit "$RENDERER" 20
finish_checks
