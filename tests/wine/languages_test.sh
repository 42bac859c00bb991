#!/usr/bin/env bash
# The host speaks its user's language: Japanese for a Japanese user interface,
# English for every other (English and German here). Wine takes the user
# interface's language from LC_MESSAGES (LC_ALL) and the code page from
# LC_CTYPE. For each: the buttons' captions, the file chooser's title and
# filter (recorded by dialog_demo instead of shown), and the message for a
# missing renderer. The settings file OK writes is the same bytes whichever
# language the dialog speaks. (The layout in both languages at every
# resolution: dialog_layout_test.sh.)
source "$(dirname "$0")/harness.sh"
source "$(dirname "$0")/dialog_helpers.sh"
harness_init languages
wine_japanese_fonts
trap 'wine_english_fonts restore; harness_cleanup' EXIT

RUN="$WINEPREFIX/drive_c/ripplume_languages"
LONE="$WINEPREFIX/drive_c/ripplume_alone"
rm -rf "$RUN" "$LONE"
mkdir -p "$RUN" "$LONE"
cp "$BIN/dialog_demo.exe" "$RUN/"
cp "$BIN/Ripplume.scr" "$LONE/"
LOG="$ART/requests.log"

# speak LANG CTYPE: programs started from now on see that user-interface
# language and the code page of CTYPE.
speak() {
  unset LC_ALL
  export LANG=$2 LC_MESSAGES=$1
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  prepare_wine_prefix "$WINEPREFIX"
  wine_english_fonts  # after Wine has written its own mapping for the code page
}

recorded() { tr -d '\r' <"$LOG" 2>/dev/null | grep -qxF "$1"; }

# dialog LABEL LANG CTYPE OK CANCEL TITLE FILTER: the dialog in that language.
dialog() {
  local label=$1
  speak "$2" "$3"
  rm -f "$LOG" "$RUN/Ripplume.ini"
  xdotool mousemove 5 5
  wine_start "DIALOG_$label" "$RUN/dialog_demo.exe" /record 'Z:'"${LOG//\//\\}" 'C:\Music\chosen.mp3'
  check "$label: the dialog opens" dialog_shown
  dialog_layout
  check "$label: the buttons say ..., $4 and $5" \
    test "$(awk '$1 == "caption" { $1 = ""; sub(/^ /, ""); print }' "$ART/layout.txt" | tr '\n' '|')" = "file ...|set $4|cancel $5|"
  screenshot "dialog_$label" >/dev/null
  # The file option, then its "..." button, which a longer caption moves right.
  click_at $((PX + 54)) $((PY + 102))
  check "$label: the file option is chosen" wait_for 10 file_option_chosen
  click_control file
  check "$label: the chooser is titled $6, for $7" \
    wait_for 10 recorded "chooser filter=$7 title=$6 folder=C:\\ripplume_languages chars=32767 flags=0 owned=1"
  check "$label: OK closes the dialog" ok_closes_dialog
  cp "$RUN/Ripplume.ini" "$ART/settings_$label.ini" 2>/dev/null
}

# missing LABEL LANG CTYPE TEXT: the message for a missing renderer.
missing() {
  local label=$1
  speak "$2" "$3"
  wine_start "MISSING_$label" "$LONE/Ripplume.scr" /c
  check "$label: a missing renderer is reported" wait_for_window Ripplume 15
  check "$label: as \"$4\"" sh -c "wine '$BIN/wintool.exe' texts Ripplume | tr -d '\r' | grep -qxF '$4'"
  screenshot "missing_$label" >/dev/null
  key_to_window Ripplume Return
  check "$label: the host ends when it is dismissed" wait_for_no_window Ripplume 10
}

JA_FILTER='BGMﾌｧｲﾙ (MP3 WAV)|*.MP3;*.WAV||'
EN_FILTER='Music files (MP3, WAV)|*.MP3;*.WAV||'
dialog japanese ja_JP.UTF-8 ja_JP.UTF-8 設定 ｷｬﾝｾﾙ ﾌｧｲﾙを開く "$JA_FILTER"
dialog english en_US.UTF-8 en_US.UTF-8 OK Cancel 'Choose a music file' "$EN_FILTER"
dialog german de_DE.UTF-8 de_DE.UTF-8 OK Cancel 'Choose a music file' "$EN_FILTER"
# English on the Japanese code page: the settings file's bytes do not follow the language.
dialog english_932 en_US.UTF-8 ja_JP.UTF-8 OK Cancel 'Choose a music file' "$EN_FILTER"
check "the settings file is the same bytes in Japanese and in English" \
  cmp "$ART/settings_japanese.ini" "$ART/settings_english_932.ini"
check "and holds the music file's choice" grep -q 'C:\\Music\\chosen.mp3' "$ART/settings_japanese.ini"

missing japanese ja_JP.UTF-8 ja_JP.UTF-8 'Ripplume.dll が同じﾌｫﾙﾀﾞに見つかりません！'
missing english en_US.UTF-8 en_US.UTF-8 'Ripplume.dll was not found in the same folder as Ripplume.scr.'

finish_checks
