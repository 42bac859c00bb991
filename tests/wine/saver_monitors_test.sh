#!/usr/bin/env bash
# Several monitors: during a run the water covers the primary monitor and
# every other monitor turns black, so nothing on it can be read or clicked;
# a click there neither ends nor stills the water; when the run ends the
# other monitor shows what it showed before. The hand-over picture is the
# primary monitor alone.
here=$(dirname "$0")
source "$here/harness.sh"
harness_init saver_monitors two-monitors

wine "$BIN/wintool.exe" monitors 2>/dev/null | tr -d '\r' >"$ART/monitors.txt"
log "monitors: $(tr '\n' ';' <"$ART/monitors.txt")"
check "Wine sees the primary monitor and one to its right" \
  test "$(cat "$ART/monitors.txt")" = "$(printf '0 0 1024 768 1\n1024 0 1824 600 0')"

# A bright desktop over both monitors: a gradient on the primary, stripes on the other.
convert -size 1824x768 xc:black \
  \( -size 1024x768 gradient:'#204080-#80c0ff' \) -geometry +0+0 -composite \
  \( -size 800x600 pattern:vertical2 -fill '#f0d040' -opaque black \) -geometry +1024+0 -composite \
  "$ART/desktop.png"
show_on_root "$ART/desktop.png"
SECOND=800x600+1024+0
PRIMARY=1024x768+0+0
before=$(screenshot before)
check "the second monitor shows the desktop before the run" test "$(mean_of "$before" "$SECOND")" -gt 60

wine_start HOST "$BIN/Ripplume.scr" /s
check "the run starts" wait_for_window Ripplume_VC 30
second_is_black() { [ "$(mean_of "$(screenshot during)" "$SECOND")" -eq 0 ]; }
check "the second monitor turns black" wait_for 10 second_is_black
check "the hand-over picture is the primary monitor alone ($(identify -format '%w %h' "$PICTURE" 2>&1))" \
  test "$(identify -format '%w %h' "$PICTURE" 2>/dev/null)" = "1024 768"

xdotool mousemove 1400 300 click 1
run_going() { [ -n "$(find_window Ripplume_VC)" ]; }
check "a click on the black monitor leaves the run going" stays_so 1 run_going
first=$(screenshot after_click_1)
moving() { [ "$(differing_pixels "$(screenshot after_click_2)" "$first" "$PRIMARY")" -gt 1000 ]; }
check "and the water moving" wait_for 15 moving
check "the second monitor is still black" second_is_black

check "Escape ends the run" escape_renderer
comes_back() { [ "$(differing_pixels "$(screenshot after_run)" "$before" "$SECOND")" -lt 100 ]; }
check "the second monitor shows the desktop again" wait_for 10 comes_back
check "the host has ended" wait_for 10 sh -c "! wine '$BIN/wintool.exe' exists Ripplume_Main"
finish_checks
