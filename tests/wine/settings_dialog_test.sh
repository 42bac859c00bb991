#!/usr/bin/env bash
# The settings dialog "<Ripplume>": its look (gradient, brushed panel, marks,
# Japanese captions), the option clicks and the enabled states they give, the
# repeat box, the file chooser, and what OK, Cancel and the close box leave in
# Ripplume.ini (code page 932 bytes).
#
# DIALOG_PROGRAM / DIALOG_ARGS name what opens the dialog: the host itself
# (Ripplume.scr /c) by default; dialog_demo.exe opens the dialog alone.
here=$(dirname "$0")
source "$here/harness.sh"
source "$here/dialog_helpers.sh"
harness_init settings_dialog
wine_japanese_fonts

DIALOG_PROGRAM=${DIALOG_PROGRAM:-Ripplume.scr}
read -r -a DIALOG_ARGS <<<"${DIALOG_ARGS:-/c}"

# Without a window manager Wine leaves frames to nobody; let it draw its own,
# so that the caption and its close box are there to see and click.
X11_KEY='HKCU\Software\Wine\X11 Driver'
wine reg add "$X11_KEY" /v Decorated /d N /f >/dev/null 2>&1
# Code page 932, so the settings file's keys are written as the Japanese system writes them.
{ export LC_ALL=ja_JP.UTF-8; } 2>/dev/null

# The program runs from a folder of its own: the settings file lies beside it.
RUN="$WINEPREFIX/drive_c/ripplume_dialog"
rm -rf "$RUN"
mkdir -p "$RUN"
cp "$BIN/$DIALOG_PROGRAM" "$RUN/"
[ -f "$BIN/Ripplume.dll" ] && cp "$BIN/Ripplume.dll" "$RUN/"
INI="$RUN/Ripplume.ini"
MUSIC_DIR="$WINEPREFIX/drive_c/ripplume_music"
mkdir -p "$MUSIC_DIR"
: >"$MUSIC_DIR/song.mp3"

PROBE=("$BIN/dialog_probe.exe")

# ---- reading the dialog ----

field() { dialog_field "$@"; }
field_is() { dialog_state && [ "$(field "$1")" = "$2" ]; }
# wait_field NAME VALUE: polls until the probe reports the value.
wait_field() { wait_for 5 field_is "$1" "$2" || { log "$1 is [$(field "$1")], expected [$2]"; return 1; }; }


open_dialog() {
  wine_start DIALOG "$RUN/$DIALOG_PROGRAM" "${DIALOG_ARGS[@]}"
  xdotool mousemove 5 5
  dialog_shown
}

closed_by() {
  wait_for_no_window "<Ripplume>" 15 && wait_exit "$DIALOG" 15 && [ "$EXIT_CODE" -eq 0 ]
}

# ---- pointing ----

# Positions of the controls inside the panel and the window, in pixels.
MARK_Y=(76 56 96)   # Img_BGM(0) none, (1) audio CD, (2) music file
in_panel() { click_at $((PX + $1)) $((PY + $2)) "${3:-1}"; }
in_window() { click_at $((CX + $1)) $((CY + $2)) "${3:-1}"; }
# The marks and their labels are drawn, not windows: they are where the design puts them.
click_mark() { in_panel 34 $((MARK_Y[$1] + 6)) "${2:-1}"; }
click_label() { in_panel 54 $((MARK_Y[$1] + 6)) "${2:-1}"; }
click_ok() { click_control set; }
click_cancel() { click_control cancel; }
click_file_button() { click_control file; }
# type_repeat TEXT: replaces the repeat box's text by typing.
type_repeat() {
  local l t r b
  read -r l t r b <<<"$(control_rect repeat)"
  in_window $((l + 6)) $((t + 10))  # the box's edit field, left of its arrow
  xdotool key End BackSpace BackSpace BackSpace BackSpace BackSpace
  xdotool type --delay 60 "$1"
}

# ---- looking ----

rgb() { pixel_at "$SHOT" "$1" "$2"; }
# near X Y R G B: the screen pixel is within 8 of the colour in every channel.
near() {
  local p
  p=($(rgb "$1" "$2"))
  awk -v r="${p[0]}" -v g="${p[1]}" -v b="${p[2]}" -v R="$3" -v G="$4" -v B="$5" \
    'function d(a, b) { return a > b ? a - b : b - a }
     BEGIN { exit !(d(r, R) <= 8 && d(g, G) <= 8 && d(b, B) <= 8) }' ||
    { log "pixel $1,$2 of $(basename "$SHOT") is ${p[*]}, expected $3 $4 $5"; return 1; }
}
mark_colour() { rgb $((PX + 34)) $((PY + MARK_Y[$1] + 6)); }
mark_blue() { mark_colour "$1" | awk '{ exit !($3 >= 150 && $3 > $1 + 60) }'; }
mark_grey() { mark_colour "$1" | awk '{ d = $1 - $3; if (d < 0) d = -d; exit !($1 >= 200 && d <= 10) }'; }
# marks CHOSEN: that option's mark is blue and the other two are grey.
marks() {
  local i
  for i in 0 1 2; do
    if [ "$i" = "$1" ]; then mark_blue "$i"; else mark_grey "$i"; fi || { log "mark $i is $(mark_colour "$i")"; return 1; }
  done
}
# The file button's outline: dark blue while enabled, the pale disabled face otherwise.
file_button_enabled() { near $((PX + 113)) $((PY + 102)) 0x00 0x3C 0x74; }
file_button_disabled() { ! near $((PX + 113)) $((PY + 102)) 0x00 0x3C 0x74 >/dev/null; }
# channel_sums X Y W H: the red + green + blue sum of every screen pixel in that rectangle.
channel_sums() {
  convert "$SHOT" -crop "${3}x${4}+$1+$2" -depth 8 rgb:- | od -An -v -tu1 -w3 | awk '{ print $1 + $2 + $3 }'
}
# dark_text X Y W H: black text is drawn somewhere in that part of the panel.
dark_text() { channel_sums $((PX + $1)) $((PY + $2)) "$3" "$4" | awk 'BEGIN { m = 999 } { if ($1 < m) m = $1 } END { exit !(m < 150) }'; }
no_dark_text() { ! dark_text "$@"; }
# white_text X Y W H: white text somewhere in that part of the window's inner area.
white_text() { channel_sums $((CX + $1)) $((CY + $2)) "$3" "$4" | awk 'BEGIN { m = 0 } { if ($1 > m) m = $1 } END { exit !(m >= 740) }'; }
# shows_marks NAME CHOSEN: a screenshot NAME (in SHOT) shows that option chosen.
shows_marks() { shot "$1"; marks "$2" 2>/dev/null >/dev/null; }
# wait_marks NAME CHOSEN: waits (5 s at most) until the marks show that choice.
wait_marks() { wait_for 5 shows_marks "$1" "$2" || marks "$2"; }
captions_drawn() {
  dark_text 60 24 40 13 && dark_text 44 56 40 13 && dark_text 156 56 60 13 && dark_text 44 76 20 13 && dark_text 44 96 50 13
}
file_name_shown() { dark_text 44 116 400 33; }
# The icon's grey monitor frame at the caption's left end (the caption itself is blue).
icon_in_caption() {
  local grey
  grey=$(convert "$SHOT" -crop "18x18+$((WX + 3))+$((WY + 3))" -depth 8 rgb:- | od -An -v -tu1 -w3 |
    awk 'function d(a, b) { return a > b ? a - b : b - a }
         d($1, $2) < 14 && d($2, $3) < 20 && $1 >= 50 && $1 <= 170 { n++ } END { print n + 0 }')
  [ "$grey" -ge 12 ]
}
shot() { SHOT=$(screenshot "$1"); }
no_chooser() { ! wine "${PROBE[@]}" chooser >/dev/null 2>&1; }
# Wine's chooser takes a few seconds to let go after it closes: wait until the
# panel under it has been painted again.
panel_painted() { SHOT=$(screenshot "$1"); [ "$(rgb $((PX + 300)) $((PY + 140)))" != "255 255 255" ]; }
wait_repainted() {
  wait_for_no_window "ﾌｧｲﾙを開く" 15 || { log "the chooser's window is still on the screen"; return 1; }
  wait_for 10 panel_painted "$1" && wait_settled "${PW}x${PH}+$PX+$PY" && SHOT=$(screenshot "$1")
}
chooser_open() {
  wine "${PROBE[@]}" chooser 2>/dev/null | tr -d '\r' >"$ART/chooser.txt"
  [ "${PIPESTATUS[0]}" -eq 0 ]
}
wait_chooser() { wait_for 5 chooser_open; }

# enabled_states REPEAT FILE: the repeat box and the file button as expected
# (1 enabled, 0 disabled), waited for; the file button on a fresh screenshot.
file_button_is() {
  SHOT=$(screenshot .file_button)
  if [ "$1" = 1 ]; then file_button_enabled; else file_button_disabled; fi 2>/dev/null >/dev/null
}
enabled_states() {
  wait_field repeat_enabled "$1" || return 1
  wait_for 5 file_button_is "$2" || { log "the file button is not $([ "$2" = 1 ] && echo enabled || echo disabled)"; return 1; }
}

# ---- the settings file ----

hex_of() { printf '%s' "$1" | od -An -tx1 -v | tr -d ' \n'; }
ini_hex() { od -An -tx1 -v "$INI" | tr -d ' \n'; }
KEY_KIND=42474d8be695aa        # BGM区分
KEY_REPEAT=42474dd8cbdfb0c4    # BGMﾘﾋﾟｰﾄ
KEY_FILE=42474dcca7b2d9        # BGMﾌｧｲﾙ
# ini_number KEY N: "KEY= N" (Wine drops the blank, Windows keeps it) on a line of its own.
ini_number() { ini_hex | grep -Eq "0a${1}3d(20)?$(hex_of "$2")0d0a"; }
ini_text() { ini_hex | grep -q "0a${1}3d$(hex_of "$2")0d0a"; }
# ini_is KIND REPEAT FILE: the section with the three keys in the order OK writes them, once each.
ini_is() {
  [ -f "$INI" ] || { log "no settings file"; return 1; }
  local h
  h=$(ini_hex)
  [[ $h == 5b53656374696f6e5d0d0a* ]] &&
    ini_number $KEY_KIND "$1" && ini_number $KEY_REPEAT "$2" && ini_text $KEY_FILE "$3" &&
    grep -Eq "$KEY_KIND.*$KEY_REPEAT.*$KEY_FILE" <<<"$h" &&
    [ "$(grep -o "$KEY_KIND" <<<"$h" | wc -l)" -eq 1 ] &&
    [ "$(grep -o "$KEY_REPEAT" <<<"$h" | wc -l)" -eq 1 ] &&
    [ "$(grep -o "$KEY_FILE" <<<"$h" | wc -l)" -eq 1 ] ||
    { log "settings file: $(iconv -f CP932 -t UTF-8 "$INI" | tr '\r\n' ' ')"; return 1; }
}

# ================= 1. No settings file: first look, options, OK =================
rm -f "$INI"
check "the dialog opens" open_dialog
shot 1_initial
check "title <Ripplume>, window class Ripplume_P" test "$(field class)" = Ripplume_P
check "inner area 495 x 246" test "$CW $CH" = "495 246"
check "fixed frame, caption with close box only" \
  test "$(field frame)" = "caption=1 sysmenu=1 minbox=0 maxbox=0 sizing=0 toolwindow=0 appwindow=0"
check "owned by a hidden window (so not in the taskbar)" test "$(field owner)" = "1 0"
read -r WX WY WW WH <<<"$(field window)"
check "the program icon shows in the caption" icon_in_caption
read -r EX EY < <(awk -v w="$WW" -v h="$WH" 'function px(t) { return t >= 0 ? int(t / 15 + 0.5) : -int(-t / 15 + 0.5) }
  BEGIN { print px(int((1024 - w) * 15 / 2)), px(int((768 - h) * 15 / 3)) }')
check "centred across, a third of the way down ($WX,$WY)" test "$WX $WY" = "$EX $EY"
check "panel 469 x 165 at (12, 16)" test "$(field panel_outer)" = "$((CX + 12)) $((CY + 16)) 469 165"
check "gradient: top row dark blue" near $((CX + 488)) "$CY" 0 0 30
check "gradient: middle row pale lavender" near $((CX + 488)) $((CY + 123)) 220 220 250
check "gradient: row 61" near $((CX + 488)) $((CY + 61)) 155 155 185
check "gradient: bottom row dark" near $((CX + 488)) $((CY + 245)) 3 3 33
panel_mean=$(mean_of "$SHOT" "150x20+$((PX + 300))+$((PY + 20))")
check "panel shows the brushed strip (mean $panel_mean)" test "$panel_mean" -ge 185 -a "$panel_mean" -le 205
check "panel texture is streaked, not flat" test "$(convert "$SHOT" -crop "150x20+$((PX + 300))+$((PY + 20))" -format '%[fx:round(standard_deviation*255)]' info:)" -ge 2
check "Shape3 frames the BGM title" near $((PX + 20)) $((PY + 30)) 0 0 0
check "captions drawn: BGM, 音楽CD, 曲目をﾘﾋﾟｰﾄ, なし, MP3、WAV" captions_drawn
check "no file name shown" no_dark_text 44 116 400 33
check "credit line and link drawn in white" white_text 12 192 150 13
check "link drawn in white" white_text 12 208 150 13
check "marks: none chosen" marks 0
check "repeat box empty and disabled" test "$(field repeat_text)" = "[]" -a "$(field repeat_enabled)" = 0
check "repeat list: empty entry, then 1 to 30" \
  test "$(field repeat_list)" = "31 [|1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17|18|19|20|21|22|23|24|25|26|27|28|29|30]"
check "file button disabled" file_button_disabled

click_label 1
check "音楽CD label: CD marked" wait_marks 2_audio_cd 1
check "音楽CD: repeat box enabled, file button disabled" enabled_states 1 0

click_mark 2 3
check "right button on the MP3、WAV mark: file marked" wait_marks 3_music_file_right_button 2
check "MP3、WAV: file button enabled, repeat box disabled" enabled_states 0 1

click_label 0 2
check "middle button on なし: none marked" wait_marks 4_none_middle_button 0
check "なし: both disabled" enabled_states 0 0

click_mark 1
check "the CD marked again" wait_marks 4b_audio_cd 1
type_repeat 7
check "typed 7 into the repeat box" wait_field repeat_text "[7]"
shot 5_typed
click_ok
check "OK closes the dialog and the program ends" closed_by
check "OK wrote BGM区分 1, BGMﾘﾋﾟｰﾄ 7, empty BGMﾌｧｲﾙ" ini_is 1 7 ""
cp "$INI" "$ART/after_ok.ini"

# ================= 2. Reopened: the file's values; Cancel writes nothing =================
check "the dialog opens again" open_dialog
check "loaded: CD marked" wait_marks 6_reopened 1
check "loaded: repeat box shows 7, enabled" test "$(field repeat_text) $(field repeat_enabled)" = "[7] 1"
check "loaded: file button disabled" file_button_disabled
type_repeat 12
check "typed 12" wait_field repeat_text "[12]"
click_label 0
check "なし chosen before Cancel" wait_marks 7_none_before_cancel 0
click_cancel
check "Cancel closes the dialog" closed_by
check "Cancel wrote nothing" cmp -s "$INI" "$ART/after_ok.ini"

# ================= 3. The close box writes nothing; the link does not hang the dialog =================
check "the dialog opens again" open_dialog
click_label 2
check "the file option chosen" wait_marks 7b_file 2
in_window 40 214
check "after the link click the dialog still answers" wait_field visible 1
read -r BXC BYC <<<"$(field closebox)"
check "a close box is found" test -n "$BXC" -a "$BXC" != none
xdotool mousemove "$BXC" "$BYC" click 1
check "the close box closes the dialog" closed_by
check "the close box wrote nothing" cmp -s "$INI" "$ART/after_ok.ini"

# ================= 4. File chooser: cancelled, then a file picked; OK writes all three =================
check "the dialog opens again" open_dialog
click_label 2
check "the file option chosen again" wait_marks 7c_file 2
check "its file button enabled" enabled_states 0 1
click_file_button
check "the file chooser opens" wait_chooser
check "the chooser is titled ﾌｧｲﾙを開く" grep -qx "chooser ﾌｧｲﾙを開く" "$ART/chooser.txt"
shot 8_chooser
# Keys and characters go to the chooser itself, wherever the X focus is.
check "the chooser is cancelled" wine "$BIN/wintool.exe" cancel "ﾌｧｲﾙを開く"
check "cancelled chooser: the dialog is drawn again" wait_repainted 9_chooser_cancelled
check "cancelled chooser: it is gone" no_chooser
check "cancelled chooser: no file name shown" no_dark_text 44 116 400 33
click_file_button
check "the file chooser opens again" wait_chooser
# Its file name box, focused as the chooser opens, takes the characters.
chooser_focused() { wine "$BIN/wintool.exe" focused "ﾌｧｲﾙを開く" >/dev/null 2>&1; }
check "the chooser's file name box has the focus" wait_for 10 chooser_focused
check "a file name is typed into the chooser" wine "$BIN/wintool.exe" chars "ﾌｧｲﾙを開く" 'C:\ripplume_music\song.mp3'
typed() { [ "$(wine "$BIN/wintool.exe" focused "ﾌｧｲﾙを開く" 2>/dev/null | tr -d '\r')" = 'C:\ripplume_music\song.mp3' ]; }
check "and shows in it" wait_for 5 typed
check "the chooser's Open is pressed" wine "$BIN/wintool.exe" ok "ﾌｧｲﾙを開く"
check "chosen: the dialog is drawn again" wait_repainted 10_file_chosen
check "the chooser closed" no_chooser
check "the chosen file's name is shown" file_name_shown
click_ok
check "OK closes the dialog" closed_by
check "OK wrote BGM区分 2, the repeat box's 7 and the file" ini_is 2 7 'C:\ripplume_music\song.mp3'

# ================= 5. Music file loaded; switched to CD with 3.5 (stores 4) =================
check "the dialog opens again" open_dialog
check "loaded: file marked" wait_marks 11_file_loaded 2
check "loaded: file button enabled, repeat box disabled" enabled_states 0 1
check "loaded: the file name is shown" file_name_shown
click_mark 1
check "the CD marked" wait_marks 11b_audio_cd 1
type_repeat 3.5
check "typed 3.5" wait_field repeat_text "[3.5]"
click_ok
check "OK closes the dialog" closed_by
check "3.5 stored as 4; the file name stays stored" ini_is 1 4 'C:\ripplume_music\song.mp3'

# ================= 6. Text that is not a number stores 0 =================
check "the dialog opens again" open_dialog
type_repeat abc
check "typed abc" wait_field repeat_text "[abc]"
click_ok
check "OK closes the dialog" closed_by
check "abc stored as 0" ini_is 1 0 'C:\ripplume_music\song.mp3'

wine reg delete "$X11_KEY" /v Decorated /f >/dev/null 2>&1
finish_checks
