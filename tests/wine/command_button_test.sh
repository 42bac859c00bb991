#!/usr/bin/env bash
# The Command button on a plain window (command_button_demo.exe): its faces
# at rest, hovered, pressed, focused and disabled, the Click it sends to its
# parent, and the presses that must not click.
here=$(dirname "$0")
source "$here/harness.sh"
harness_init command_button 640x480
wine_japanese_fonts

EVENTS="$ART/events.txt"
wine_start DEMO "$BIN/command_button_demo.exe" "$(winepath -w "$EVENTS")"
check "the demo window appears" wait_for_window "Command demo" 30
for i in $(seq 50); do grep -q '^ready' "$EVENTS" 2>/dev/null && break; sleep 0.1; done
check "the demo initialised its buttons" grep -q '^ready' "$EVENTS"

# button ID: sets BX BY BW BH to the button's screen rectangle.
# The demo writes Windows text lines (CR LF).
events() { tr -d '\r' <"$EVENTS"; }
button() { read -r BX BY BW BH < <(events | awk -v id="$1" '$1 == "button" && $2 == id {print $3, $4, $5, $6}'); }
clicks() { events | grep -c "^click $1\$"; }
# near FILE X Y R G B: the pixel is within 8 of the colour in every channel.
near() {
  local p
  p=($(pixel_at "$1" "$2" "$3"))
  awk -v r="${p[0]}" -v g="${p[1]}" -v b="${p[2]}" -v R="$4" -v G="$5" -v B="$6" \
    'function d(a, b) { return a > b ? a - b : b - a }
     BEGIN { exit !(d(r, R) <= 8 && d(g, G) <= 8 && d(b, B) <= 8) }' || { log "pixel $2,$3 of $(basename "$1") is ${p[*]}"; return 1; }
}
sum_at() { pixel_at "$1" "$2" "$3" | awk '{print $1 + $2 + $3}'; }
# Gradient direction, read beside the caption: light at the top or at the bottom.
light_on_top() { test "$(sum_at "$1" $((BX + 8)) $((BY + 5)))" -gt "$(sum_at "$1" $((BX + 8)) $((BY + BH - 6)))"; }
dark_on_top() { test "$(sum_at "$1" $((BX + 8)) $((BY + 5)))" -lt "$(sum_at "$1" $((BX + 8)) $((BY + BH - 6)))"; }
# Darkest pixel (smallest channel sum) in the caption strip of the button.
darkest_caption_pixel() {
  convert "$1" -crop "$((BW - 16))x$((BH - 10))+$((BX + 8))+$((BY + 5))" -depth 8 rgb:- |
    od -An -v -tu1 -w3 | awk 'BEGIN { m = 999 } { s = $1 + $2 + $3; if (s < m) m = s } END { print m }'
}
# same_area A B: the button's rectangle is identical in both screenshots.
same_area() {
  convert "$1" -crop "${BW}x${BH}+$BX+$BY" +repage "$ART/area_a.png"
  convert "$2" -crop "${BW}x${BH}+$BX+$BY" +repage "$ART/area_b.png"
  local n
  n=$(compare -metric AE "$ART/area_a.png" "$ART/area_b.png" null: 2>&1)
  rm -f "$ART/area_a.png" "$ART/area_b.png"
  test "$n" = 0
}
away() { xdotool mousemove 5 5; sleep 0.4; }
over() { xdotool mousemove $((BX + BW / 2)) $((BY + BH / 2)); sleep 0.3; }

button 1
log "OK button at $BX,$BY ${BW}x$BH"
away
shot=$(screenshot 1_normal)
check "resting: dark blue outline" near "$shot" $((BX + 1)) $((BY + 12)) 0x00 0x3C 0x74
check "resting: near-white inner edge" near "$shot" $((BX + 2)) $((BY + 12)) 0xF8 0xF8 0xF8
check "resting: gradient light at the top" light_on_top "$shot"
check "resting: caption drawn in black" test "$(darkest_caption_pixel "$shot")" -lt 60

over
shot=$(screenshot 2_highlight)
check "hovered: orange inner edge" near "$shot" $((BX + 2)) $((BY + 3)) 0xFC 0xD2 0x79
check "hovered: gradient dark at the top" dark_on_top "$shot"

xdotool mousedown 1
sleep 0.3
shot=$(screenshot 3_pressed)
check "pressed: outline moved right and down" near "$shot" $((BX + 2)) $((BY + 12)) 0x00 0x3C 0x74
check "pressed: freed left column" near "$shot" $((BX + 1)) $((BY + 12)) 0xEC 0xE9 0xD8
check "no Click before the release" test "$(clicks 1)" -eq 0

xdotool mouseup 1
sleep 0.3
shot=$(screenshot 4_highlightselect)
check "released: one Click reached the parent" test "$(clicks 1)" -eq 1
check "released, focused and hovered: orange inner edge" near "$shot" $((BX + 2)) $((BY + 3)) 0xFC 0xD2 0x79

away
shot=$(screenshot 5_selected)
check "focused, pointer away: light blue inner edge" near "$shot" $((BX + 2)) $((BY + 3)) 0xCE 0xE7 0xFF
check "focused, pointer away: gradient light at the top" light_on_top "$shot"

key_to_window "Command demo" Return
key_to_window "Command demo" space
sleep 0.3
check "Enter and Space do not click" test "$(clicks 1)" -eq 1

# Cancel: pressed, dragged off, released after a timer tick: no Click.
button 2
over
xdotool mousedown 1
sleep 0.2
xdotool mousemove $((BX + BW + 40)) $((BY + BH + 40))
sleep 0.4
shot=$(screenshot 6_left_while_held)
check "dragged off while held: focused face" near "$shot" $((BX + 2)) $((BY + 3)) 0xCE 0xE7 0xFF
over
xdotool mouseup 1
sleep 0.3
check "released after leaving: no Click" test "$(clicks 2)" -eq 0

# The OK button lost the focus to Cancel; a right click on it clicks too.
button 1
over
xdotool click 3
sleep 0.3
shot=$(screenshot 7_right_click)
check "right-button release clicks" test "$(clicks 1)" -eq 2
check "right button keeps the hovered face" near "$shot" $((BX + 2)) $((BY + 3)) 0xFC 0xD2 0x79

# The disabled "..." button.
button 3
away
before=$(screenshot 8_disabled)
check "disabled: grey outline" near "$before" $((BX + 1)) $((BY + 10)) 0xC9 0xC7 0xBA
check "disabled: caption greyed" test "$(darkest_caption_pixel "$before")" -gt 150
over
xdotool click 1
sleep 0.4
after=$(screenshot 9_disabled_clicked)
check "disabled: no Click" test "$(clicks 3)" -eq 0
check "disabled: face unchanged by hover and click" same_area "$before" "$after"

# The demo window in every state, enlarged, in one picture for the record.
read -r WX WY WW WH < <(window_geometry "Command demo")
for f in "$ART"/[0-9]_*.png; do
  convert "$f" -crop "${WW}x${WH}+$WX+$WY" +repage -scale 200% miff:-
done | convert - -append "$ART/closeups.png"
finish_checks
