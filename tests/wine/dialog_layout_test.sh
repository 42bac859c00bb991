#!/usr/bin/env bash
# The settings dialog's layout, in Japanese and in English, at 96, 120 and
# 144 dots per inch: the inner area grows with the resolution, no two controls
# overlap, every text fits its label, frame and button (a longer caption moves
# the control after it along its row), the buttons' captions are the
# language's, pictures keep their own size, and both programs carry the
# manifest that declares them aware of each monitor's resolution. The same
# holds for a dialog opened at 96 dpi and then told it is on a monitor of 144
# (WM_DPICHANGED, which Wine never sends: the test program sends it). At 144
# dpi a saver run still captures the whole screen, mirrored exactly. One
# prefix, the resolution and language changed in turn (and put back at the end).
here=$(dirname "$0")
source "$here/harness.sh"
harness_init dialog_layout
wine_japanese_fonts

DESKTOP_KEY='HKCU\Control Panel\Desktop'
FONTS_KEY='HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'
X11_KEY='HKCU\Software\Wine\X11 Driver'
OLD_DESKTOP_DPI=$(reg_value "$DESKTOP_KEY" LogPixels)
OLD_FONTS_DPI=$(reg_value "$FONTS_KEY" LogPixels)
restore_value() {
  if [ -n "$2" ]; then
    wine reg add "$1" /v LogPixels /t REG_DWORD /d $(($2)) /f >/dev/null 2>&1
  else
    wine reg delete "$1" /v LogPixels /f >/dev/null 2>&1
  fi
}
# The prefix is shared with the other Wine tests: leave its resolution as it was.
restore_prefix() {
  restore_value "$DESKTOP_KEY" "$OLD_DESKTOP_DPI"
  restore_value "$FONTS_KEY" "$OLD_FONTS_DPI"
  wine reg delete "$X11_KEY" /v Decorated /f >/dev/null 2>&1
  wine_english_fonts restore
}
trap 'restore_prefix; harness_cleanup' EXIT

# Wine draws the window's frame itself (there is no window manager).
wine reg add "$X11_KEY" /v Decorated /d N /f >/dev/null 2>&1
# The user's language, for programs started from now on: Japanese (code page
# 932) or English (code page 1252).
set_language() {
  case $1 in
    ja) export LC_ALL=ja_JP.UTF-8 ;;
    en) export LC_ALL=en_US.UTF-8 ;;
  esac
}

# The music file option is chosen, so the file button is enabled (black
# caption), its mark is the blue one, and a name long enough for two lines
# shows. The file must exist: a music file that has gone is dropped at load.
RUN="$WINEPREFIX/drive_c/ripplume_dpi"
rm -rf "$RUN"
mkdir -p "$RUN/music with a rather long folder name"
cp "$BIN/Ripplume.scr" "$BIN/Ripplume.dll" "$BIN/dialog_demo.exe" "$RUN/"
SONG='and a song whose name is long enough to wrap.mp3'
: >"$RUN/music with a rather long folder name/$SONG"
# The keys as each code page stores them: in 932 as they are, in 1252 with a
# "?" for every character the code page lacks.
MUSIC="C:\\ripplume_dpi\\music with a rather long folder name\\$SONG"
{
  printf '[Section]\r\nBGM区分= 2\r\nBGMﾘﾋﾟｰﾄ= 0\r\nBGMﾌｧｲﾙ=%s\r\n' "$MUSIC" | iconv -f UTF-8 -t CP932
  printf 'BGM??= 2\r\nBGM?????= 0\r\nBGM????=%s\r\n' "$MUSIC"
} >"$RUN/Ripplume.ini"

PROBE=("$BIN/dialog_probe.exe")

# set_dpi N: the display's resolution for programs started from now on.
set_dpi() {
  wine reg add "$DESKTOP_KEY" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wine reg add "$FONTS_KEY" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  prepare_wine_prefix "$WINEPREFIX"
}

# ---- reading the dialog ----

probe() { wine "${PROBE[@]}" "$@" 2>/dev/null | tr -d '\r'; test "${PIPESTATUS[0]}" -eq 0; }
# value NAME: the rest of the first line of the layout report starting with NAME.
value() { awk -v k="$1" '$1 == k { $1 = ""; sub(/^ /, ""); print; exit }' "$LAYOUT"; }
rect() { awk -v k="$1" '$1 == "rect" && $2 == k { print $3, $4, $5, $6; exit }' "$LAYOUT"; }
ink() { awk -v k="$1" '$1 == "ink" && $2 == k { print ($3 == "none" ? "none" : $3 " " $4 " " $5 " " $6); exit }' "$LAYOUT"; }
# lines NAME: the "TOP-BOTTOM" row runs of that ink box, one a line.
lines() { awk -v k="$1" '$1 == "ink" && $2 == k { for (i = 8; i <= NF; ++i) print $i; exit }' "$LAYOUT"; }

# open_dialog PROGRAM ARGS...: opens the dialog and waits until it shows with
# an inner area of W x H pixels.
open_dialog() {
  xdotool mousemove 5 5
  wine_start DIALOG "$@"
  wait_for_window "<Ripplume>" 30 || return 1
  shown_at_size() {
    probe state >"$ART/state_$DPI.txt" && grep -qx 'visible 1' "$ART/state_$DPI.txt" &&
      awk -v s="$W $H" '$1 == "client" { exit !($4 " " $5 == s) }' "$ART/state_$DPI.txt"
  }
  wait_for 10 shown_at_size || log "the dialog never showed at $W x $H: $(grep client "$ART/state_$DPI.txt")"
  read -r CX CY _ < <(awk '$1 == "client" { print $2, $3 }' "$ART/state_$DPI.txt")
  wait_settled "${W}x${H}+$CX+$CY" || log "the dialog never settled after its first paint"
  [ -n "$CX" ]
}

close_dialog() {
  local l t r b
  read -r l t r b <<<"$(rect cancel)"
  xdotool mousemove $((CX + (l + r) / 2 + 3)) $((CY + (t + b) / 2)) sleep 0.15 \
    mousemove $((CX + (l + r) / 2)) $((CY + (t + b) / 2)) sleep 0.2 click 1
  wait_for_no_window "<Ripplume>" 15 && wait_exit "$DIALOG" 15 && [ "$EXIT_CODE" -eq 0 ]
}

# ---- geometry ----

# apart A B: the rectangles "l t r b" do not share a pixel.
apart() {
  read -r al at ar ab <<<"$1"
  read -r bl bt br bb <<<"$2"
  [ "$ar" -le "$bl" ] || [ "$br" -le "$al" ] || [ "$ab" -le "$bt" ] || [ "$bb" -le "$at" ] ||
    { log "[$1] overlaps [$2]"; return 1; }
}
# inside A B [MARGIN]: A lies within B, at least MARGIN pixels from its edges.
inside() {
  local m=${3:-0}
  read -r al at ar ab <<<"$1"
  read -r bl bt br bb <<<"$2"
  [ -n "$ab" ] && [ -n "$bb" ] && [ "$al" -ge $((bl + m)) ] && [ "$at" -ge $((bt + m)) ] && [ "$ar" -le $((br - m)) ] && [ "$ab" -le $((bb - m)) ] ||
    { log "[$1] is not inside [$2] by $m"; return 1; }
}
# left_of A X GAP: box A ends at least GAP pixels before column X.
left_of() {
  read -r _ _ ar _ <<<"$1"
  [ -n "$ar" ] && [ "$ar" != none ] && [ $((ar + $3)) -le "$2" ] || { log "[$1] does not end $3 before $2"; return 1; }
}
right_of() {
  read -r al _ _ _ <<<"$1"
  [ -n "$al" ] && [ "$al" != none ] && [ "$al" -ge $(($2 + $3)) ] || { log "[$1] does not start $3 after $2"; return 1; }
}
# below A Y GAP: box A starts at least GAP pixels below row Y.
below() {
  read -r _ at _ _ <<<"$1"
  [ -n "$at" ] && [ "$at" -ge $(($2 + $3)) ] || { log "[$1] does not start $3 below $2"; return 1; }
}
line_count() {
  [ "$(lines "$1" | wc -l)" -eq "$2" ] || { log "$1 has lines [$(lines "$1" | tr '\n' ' ')], expected $2"; return 1; }
}
# lines_alike NAME: the second line of text is as tall as the first (not cut off).
lines_alike() {
  lines "$1" | awk -F- '{ h[NR] = $2 - $1 } END { exit !(NR == 2 && h[2] * 4 >= h[1] * 3) }' ||
    { log "$1 lines: $(lines "$1" | tr '\n' ' ')"; return 1; }
}
# taller_than A B PERCENT: ink box A is at least PERCENT % as tall as ink box B
# (text cut off by a label too short for its font is shorter).
taller_than() {
  read -r _ at _ ab <<<"$(ink "$1")"
  read -r _ bt _ bb <<<"$(ink "$2")"
  [ -n "$ab" ] && [ -n "$bb" ] && [ $(((ab - at) * 100)) -ge $(((bb - bt) * $3)) ] ||
    { log "$1 is $((ab - at)) pixels tall, $2 $((bb - bt))"; return 1; }
}
size_is() {
  read -r l t r b <<<"$1"
  [ "$((r - l)) $((b - t))" = "$2" ] || { log "[$1] is $((r - l)) x $((b - t)), expected $2"; return 1; }
}
# shrunk "l t r b" N: the rectangle with N pixels taken off every side.
shrunk() { read -r l t r b <<<"$1"; echo "$((l + $2)) $((t + $2)) $((r - $2)) $((b - $2))"; }

# ---- pixels of the screenshot, in inner-area coordinates ----

near() {
  local p
  p=($(pixel_at "$SHOT" $((CX + $1)) $((CY + $2))))
  awk -v r="${p[0]}" -v g="${p[1]}" -v b="${p[2]}" -v R="$3" -v G="$4" -v B="$5" \
    'function d(a, b) { return a > b ? a - b : b - a }
     BEGIN { exit !(d(r, R) <= 8 && d(g, G) <= 8 && d(b, B) <= 8) }' ||
    { log "pixel $1,$2 is ${p[*]}, expected $3 $4 $5"; return 1; }
}
# brushed X Y W H: that part of the panel shows the texture strip, not the flat fill.
brushed() {
  local stats
  stats=$(convert "$SHOT" -crop "${3}x${4}+$((CX + $1))+$((CY + $2))" \
    -format '%[fx:round(mean*255)] %[fx:round(standard_deviation*255)]' info:)
  read -r mean spread <<<"$stats"
  [ "$mean" -ge 170 ] && [ "$mean" -le 215 ] && [ "$spread" -ge 2 ] || { log "panel part: mean $mean, spread $spread"; return 1; }
}

# ================= the programs declare themselves DPI-aware =================
for program in Ripplume.scr Ripplume.dll; do
  check "$program carries a manifest: per-monitor aware (v2), else system-aware" \
    test "$(probe manifest "C:\\ripplume_dpi\\$program" | tr '\n' '|')" = "manifest dpiAware true|manifest dpiAwareness PerMonitorV2|"
done

# ================= the dialog at each resolution =================
# An asymmetric desktop behind the dialog, for the capture at 144 dpi.
bash "$here/sample-desktop.sh" desktop "$ART/desktop.png"
show_on_root "$ART/desktop.png"

# dpi, inner width, inner height, how: opened at the system's resolution, or
# opened at 96 dpi and moved to a monitor of this resolution; language, with
# the captions of the buttons OK and Cancel.
for row in "96 495 246 system ja 設定 ｷｬﾝｾﾙ" "120 619 308 system ja 設定 ｷｬﾝｾﾙ" "144 743 369 system ja 設定 ｷｬﾝｾﾙ" \
  "144 743 369 moved ja 設定 ｷｬﾝｾﾙ" "96 495 246 system en OK Cancel" "120 619 308 system en OK Cancel" \
  "144 743 369 system en OK Cancel"; do
  read -r DPI W H HOW LANGUAGE OK CANCEL <<<"$row"
  MOVED=""
  [ "$HOW" = moved ] && MOVED=_moved
  R="$DPI dpi $LANGUAGE${MOVED/_/ }"
  NAME=${DPI}_$LANGUAGE$MOVED
  log "---- $R ----"
  set_language "$LANGUAGE"
  if [ "$HOW" = moved ]; then
    set_dpi 96
    open_dialog "$RUN/dialog_demo.exe" /dpi-change "$DPI"
  else
    set_dpi "$DPI"
    [ "$LANGUAGE" = en ] && wine_english_fonts
    open_dialog "$RUN/Ripplume.scr" /c
  fi || {
    fail "$R: the dialog opens"
    continue
  }
  LAYOUT="$ART/layout_$NAME.txt"
  probe layout >"$LAYOUT"
  SHOT=$(screenshot "dialog_$NAME")
  RING=$(((60 * DPI + 720) / 1440))  # the buttons' ring, 60 twips

  [ "$HOW" = system ] && check "$R: the programs see $DPI dpi" test "$(value dpi)" = "$DPI"
  check "$R: the buttons say $OK, $CANCEL and ..." \
    test "$(awk '$1 == "caption" { $1 = ""; sub(/^ /, ""); print }' "$LAYOUT" | tr '\n' '|')" = "file ...|set $OK|cancel $CANCEL|"
  check "$R: inner area $W x $H" test "$(value client)" = "$W $H"

  # Windows: inside their containers, none over another.
  CLIENT="0 0 $W $H"
  check "$R: panel and buttons inside the window" \
    eval 'inside "$(rect panel)" "$CLIENT" && inside "$(rect set)" "$CLIENT" && inside "$(rect cancel)" "$CLIENT"'
  check "$R: repeat box and file button inside the panel" \
    eval 'inside "$(rect repeat)" "$(rect panel_inner)" && inside "$(rect file)" "$(rect panel_inner)"'
  check "$R: no two windows overlap" \
    eval 'apart "$(rect panel)" "$(rect set)" && apart "$(rect panel)" "$(rect cancel)" &&
          apart "$(rect set)" "$(rect cancel)" && apart "$(rect repeat)" "$(rect file)"'

  # Texts: each clear of its neighbours (a text running under a window would
  # end right at that window's edge).
  read -r _ _ PANEL_RIGHT _ <<<"$(rect panel_inner)"
  check "$R: the section title framed by Shape3, nothing of it outside the frame" \
    eval 'test "$(ink bgm_outside)" = none && inside "$(ink bgm_text)" "$(rect frame)" 2'
  check "$R: the section title whole, as tall as the file option's capitals" taller_than bgm_text file_label 80
  check "$R: three option rows apart" line_count options 3
  check "$R: the CD option's label left of the repeat box" left_of "$(ink cd_label)" "$(rect repeat | cut -d' ' -f1)" 2
  check "$R: the repeat label right of the repeat box, inside the panel" \
    eval 'right_of "$(ink repeat_label)" "$(rect repeat | cut -d" " -f3)" 2 && left_of "$(ink repeat_label)" "$PANEL_RIGHT" 2'
  check "$R: the file option's label left of the ... button" left_of "$(ink file_label)" "$(rect file | cut -d' ' -f1)" 2
  check "$R: the file name in two whole lines inside the panel" \
    eval 'line_count file_name 2 && lines_alike file_name && inside "$(ink file_name)" "$(rect panel_inner)" 1'
  check "$R: the chosen mark is 12 x 12 pixels, left of its label" \
    eval 'size_is "$(ink mark)" "12 12" && left_of "$(ink mark)" "$(ink file_label | cut -d" " -f1)" 1'
  read -r _ _ _ PANEL_BOTTOM <<<"$(rect panel)"
  check "$R: credit line and link: two lines below the panel, left of OK" \
    eval 'line_count credit 2 && left_of "$(ink credit)" "$(rect set | cut -d" " -f1)" 2 &&
          below "$(ink credit)" "$PANEL_BOTTOM" 1'
  for button in file set cancel; do
    check "$R: caption of the $button button inside its $RING-pixel ring" \
      inside "$(ink caption_$button)" "$(shrunk "$(rect $button)" "$RING")"
  done

  # What Form_Resize and TilePanel draw follows the larger window.
  check "$R: gradient dark at the top and bottom, pale in the middle" \
    eval 'near $((W - 4)) 0 0 0 30 && near $((W - 4)) $((H - 1)) 3 3 33 && near $((W - 4)) $((H / 2)) 220 220 250'
  read -r PL PT PR _ <<<"$(rect panel_inner)"
  if [ $((PR - PL)) -gt 566 ]; then
    check "$R: the panel's second column of strips (beyond 556 pixels)" \
      brushed $((PL + 560)) $((PT + 2)) $((PR - PL - 564 < 60 ? PR - PL - 564 : 60)) 15
  fi

  check "$R: Cancel closes the dialog" close_dialog

  if [ "$NAME" = 144_ja ]; then
    # The capture: the whole screen in its own pixels, mirrored exactly.
    before=$(screenshot before_run_144)
    rm -f "$PICTURE"
    RIPPLUME_TEST_KEEP_PICTURE=1 wine_start SAVER "$RUN/Ripplume.scr" /s  # the renderer keeps it to compare
    check "144 dpi: a run hands the screen over" wait_for 30 test -s "$PICTURE"
    convert "$PICTURE" -flop "$ART/capture_144_unmirrored.png"
    check "144 dpi: the whole screen, mirrored exactly" \
      test "$(compare -metric AE "$ART/capture_144_unmirrored.png" "$before" null: 2>&1)" = 0
    check "144 dpi: Escape ends the run" escape_renderer
  fi
done

finish_checks
