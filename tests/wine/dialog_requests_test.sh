#!/usr/bin/env bash
# What the settings dialog asks of the system, recorded by dialog_demo in
# place of the system: the zoom out of the mouse position and back into it,
# the file chooser's filter, title and starting folder (the chosen file's
# folder the second time), and the link's web-page request with the
# hourglass shown meanwhile. A chosen name the settings file cannot hold is
# refused with a message, and the earlier choice stays.
source "$(dirname "$0")/harness.sh"
source "$(dirname "$0")/dialog_helpers.sh"
harness_init dialog_requests
wine_japanese_fonts
{ export LC_ALL=ja_JP.UTF-8; } 2>/dev/null  # the Japanese dialog: its chooser's Japanese title and filter

RUN="$WINEPREFIX/drive_c/ripplume_requests"
rm -rf "$RUN"
mkdir -p "$RUN"
cp "$BIN/dialog_demo.exe" "$RUN/"
LOG="$ART/requests.log"
rm -f "$LOG"

# logged PATTERN: a recorded line matches the fixed text exactly (waited for).
recorded() { tr -d '\r' <"$LOG" 2>/dev/null | grep -qxF "$1"; }
logged() {
  wait_for 5 recorded "$1" && return 0
  log "no line [$1] in:"
  cat "$LOG"
  return 1
}

xdotool mousemove 300 200
wine_start DIALOG "$RUN/dialog_demo.exe" /record 'Z:'"${LOG//\//\\}" 'C:\Music\chosen.mp3'
check "the dialog opens" dialog_shown
read -r _ WX WY WW WH _ <<<"$(wine "$BIN/wintool.exe" info "<Ripplume>" 2>/dev/null | tr -d '\r')"
WINDOW="$WX,$WY,$((WX + WW)),$((WY + WH))"
log "window $WINDOW, client at $CX,$CY, panel at $PX,$PY"

check "it grows out of the mouse position" logged "zoom 3 300,200,300,200 $WINDOW"

click_at $((PX + 54)) $((PY + 102))   # the option "MP3、WAV"
check "the file option is chosen" wait_for 5 file_option_chosen
click_control file
FILTER='BGMﾌｧｲﾙ (MP3 WAV)|*.MP3;*.WAV||'
check "the chooser asks for MP3 and WAV files, titled, in the host's folder" \
  logged "chooser filter=$FILTER title=ﾌｧｲﾙを開く folder=C:\\ripplume_requests chars=32767 flags=0 owned=1"
click_control file
check "the next chooser starts in the chosen file's folder" \
  logged "chooser filter=$FILTER title=ﾌｧｲﾙを開く folder=C:\\Music chars=32767 flags=0 owned=1"

click_at $((CX + 30)) $((CY + 214))   # the link
check "the link opens the maker's page, with the hourglass shown meanwhile" \
  logged "shell verb=open file=http://ripplume.example/ parameters=[] folder=[] show=1 hourglass=1 owned=1"

xdotool mousemove 700 600
click_control cancel
check "the dialog closes" wait_for_no_window "<Ripplume>" 15
check "it shrinks back into the point it grew from, not the pointer's new place" \
  logged "zoom 3 $WINDOW 300,200,300,200"
check "nothing else was asked" test "$(grep -c . "$LOG")" = 6

# A name code page 932 cannot hold ("é", "😀"), of a file without a short
# name: refused in words, and OK keeps the earlier choice.
EARLIER='C:\ripplume_requests\earlier.mp3'
printf 'ID3' >"$RUN/earlier.mp3"
printf '[Section]\r\nBGM\x8b\xe6\x95\xaa=2\r\nBGM\xcc\xa7\xb2\xd9=%s\r\n' "$EARLIER" >"$RUN/Ripplume.ini"  # as code page 932 writes it
rm -f "$LOG"
wine_start REFUSING "$RUN/dialog_demo.exe" /record 'Z:'"${LOG//\//\\}" 'C:\Music\café 😀.mp3'
check "the dialog opens with the earlier choice" dialog_shown
click_control file
check "a name that cannot be stored is refused with a message" wait_for_window Ripplume 15
check "which says why" sh -c "wine '$BIN/wintool.exe' texts Ripplume | grep -q '短い名前もありません'"
screenshot refused_name >/dev/null
key_to_window Ripplume Return
check "the message goes" wait_for_no_window Ripplume 10
click_control set
check "OK closes the dialog" wait_for_no_window "<Ripplume>" 15
FILE_KEY=$(printf 'BGM\xcc\xa7\xb2\xd9')  # BGMﾌｧｲﾙ in code page 932
stored_choice() { tr -d '\r' <"$RUN/Ripplume.ini" | LC_ALL=C grep -qxF "$FILE_KEY=$EARLIER"; }
check "the earlier choice is still the one stored" stored_choice

finish_checks
