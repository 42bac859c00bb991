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
check "the demo initialised its buttons" wait_for 10 grep -q '^ready' "$EVENTS"

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
away() { xdotool mousemove 5 5; }
over() { xdotool mousemove $((BX + BW / 2)) $((BY + BH / 2)); }
# shows NAME X Y R G B: a screenshot NAME (its file in SHOT) shows that colour at X, Y.
shows() {
  SHOT=$(screenshot "$1")
  near "$SHOT" "$2" "$3" "$4" "$5" "$6" 2>/dev/null >/dev/null
}
# face NAME X Y R G B: waits (5 s at most) until the button shows that colour there.
face() { wait_for 5 shows "$@" || near "$SHOT" "$2" "$3" "$4" "$5" "$6"; }
# clicks_stay ID N: the button's Clicks stay N for a second: what must not click does not.
clicks_stay() { stays_so 1 clicks_are "$1" "$2"; }
clicks_are() { test "$(clicks "$1")" -eq "$2"; }

button 1
log "OK button at $BX,$BY ${BW}x$BH"
away
check "resting: dark blue outline" face 1_normal $((BX + 1)) $((BY + 12)) 0x00 0x3C 0x74
shot=$SHOT
check "resting: near-white inner edge" near "$shot" $((BX + 2)) $((BY + 12)) 0xF8 0xF8 0xF8
check "resting: gradient light at the top" light_on_top "$shot"
check "resting: caption drawn in black" test "$(darkest_caption_pixel "$shot")" -lt 60

over
check "hovered: orange inner edge" face 2_highlight $((BX + 2)) $((BY + 3)) 0xFC 0xD2 0x79
check "hovered: gradient dark at the top" dark_on_top "$SHOT"

xdotool mousedown 1
check "pressed: outline moved right and down" face 3_pressed $((BX + 2)) $((BY + 12)) 0x00 0x3C 0x74
check "pressed: freed left column" near "$SHOT" $((BX + 1)) $((BY + 12)) 0xEC 0xE9 0xD8
check "no Click before the release" clicks_stay 1 0

xdotool mouseup 1
check "released: one Click reached the parent" wait_for 5 clicks_are 1 1
check "released, focused and hovered: orange inner edge" face 4_highlightselect $((BX + 2)) $((BY + 3)) 0xFC 0xD2 0x79

away
check "focused, pointer away: light blue inner edge" face 5_selected $((BX + 2)) $((BY + 3)) 0xCE 0xE7 0xFF
check "focused, pointer away: gradient light at the top" light_on_top "$SHOT"

key_to_window "Command demo" Return
key_to_window "Command demo" space
check "Enter and Space do not click" clicks_stay 1 1

# Cancel: pressed, dragged off, released after a timer tick: no Click.
button 2
over
check "hovered: the Cancel button" face 5b_cancel_hovered $((BX + 2)) $((BY + 3)) 0xFC 0xD2 0x79
xdotool mousedown 1
check "pressed: the Cancel button" face 5c_cancel_pressed $((BX + 2)) $((BY + 12)) 0x00 0x3C 0x74
xdotool mousemove $((BX + BW + 40)) $((BY + BH + 40))
check "dragged off while held: focused face" face 6_left_while_held $((BX + 2)) $((BY + 3)) 0xCE 0xE7 0xFF
over
xdotool mouseup 1
check "released after leaving: no Click" clicks_stay 2 0

# The OK button lost the focus to Cancel; a right click on it clicks too.
button 1
over
check "hovered: the OK button again" face 6b_ok_hovered $((BX + 2)) $((BY + 3)) 0xFC 0xD2 0x79
xdotool click 3
check "right-button release clicks" wait_for 5 clicks_are 1 2
check "right button keeps the hovered face" face 7_right_click $((BX + 2)) $((BY + 3)) 0xFC 0xD2 0x79

# The disabled "..." button.
button 3
away
check "disabled: grey outline" face 8_disabled $((BX + 1)) $((BY + 10)) 0xC9 0xC7 0xBA
before=$SHOT
check "disabled: caption greyed" test "$(darkest_caption_pixel "$before")" -gt 150
over
xdotool click 1
check "disabled: no Click" clicks_stay 3 0
after=$(screenshot 9_disabled_clicked)
check "disabled: face unchanged by hover and click" same_area "$before" "$after"

# The demo window in every state, enlarged, in one picture for the record.
read -r WX WY WW WH < <(window_geometry "Command demo")
for f in "$ART"/[0-9]_*.png; do
  convert "$f" -crop "${WW}x${WH}+$WX+$WY" +repage -scale 200% miff:-
done | convert - -append "$ART/closeups.png"
finish_checks
