#!/usr/bin/env bash
# The hand-over picture is a copy of the user's screen, so it lives in the
# user's own %LOCALAPPDATA%\Ripplume (never under C:\q_lorn, where every user
# could read or replace it), also when the profile folder's name holds kanji.
# It is written to a fresh file and renamed into place, so a link planted at
# its name is replaced, not written through; it is gone once the run has
# ended; and a picture that cannot be replaced never reaches the renderer.
source "$(dirname "$0")/harness.sh"
harness_init hand_over
# The renderer deletes the picture once read; these checks compare it with
# the screen, so it keeps it, and the host's own deletion at the run's end is
# what is checked here.
export RIPPLUME_TEST_KEEP_PICTURE=1
OLD_FOLDER="$WINEPREFIX/drive_c/q_lorn"
rm -rf "$OLD_FOLDER"

bash "$(dirname "$0")/sample-desktop.sh" desktop "$ART/desktop.png"
show_on_root "$ART/desktop.png"
DESKTOP=$(screenshot desktop)

# water_shows_desktop: the screen is no longer the desktop itself, and the
# desktop's red and blue windows show through the water.
water_shows_desktop() {
  local shot counts
  shot=$(screenshot "water_$1")
  [ "$(differing_pixels "$shot" "$DESKTOP")" -gt 300000 ] || return 1
  counts=$(convert "$shot" -depth 8 rgb:- | od -An -v -tu1 -w3 | awk '
    { if ($1 > $3 + 60 && $1 > $2 + 60) red++; if ($3 > $1 + 60 && $3 > $2 + 30) blue++ }
    END { print red + 0, blue + 0 }')
  read -r red blue <<<"$counts"
  [ "$red" -gt 5000 ] && [ "$blue" -gt 5000 ]
}

# run_hands_over LABEL: a run puts the picture in $PICTURE, the renderer shows
# it, and it is gone when the run has ended.
run_hands_over() {
  local label=$1
  rm -rf "$HANDOVER"
  wine_start "HOST_$label" "$BIN/Ripplume.scr" /s
  check "$label: the run starts" wait_for_window Ripplume_VC 30
  check "$label: the picture is handed over in $HANDOVER_WIN" test "$(head -c 2 "$PICTURE" 2>/dev/null)" = BM
  check "$label: the water shows it" wait_for 10 water_shows_desktop "$label"
  check "$label: Escape ends the run" escape_renderer
  check "$label: the picture is deleted when the run has ended" wait_for 6 test ! -e "$PICTURE"
  check "$label: nothing is made under C:\\q_lorn" test ! -e "$OLD_FOLDER"
}

run_hands_over default

# A profile whose folder name the code page may not hold. The prefix is
# shared with other tests: its own folder is put back afterwards.
FOLDERS='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
own=$(wine reg query "$FOLDERS" /v 'Local AppData' 2>/dev/null | tr -d '\r' | sed -n 's/^ *Local AppData *REG_EXPAND_SZ *//p')
wine reg add "$FOLDERS" /v 'Local AppData' /t REG_EXPAND_SZ /d 'C:\users\水面 波\AppData\Local' /f >/dev/null 2>&1
mkdir -p "$WINEPREFIX/drive_c/users/水面 波/AppData/Local"
harness_hand_over
check "the profile folder is the kanji one now ($HANDOVER_WIN)" test "$HANDOVER_WIN" = 'C:\users\水面 波\AppData\Local\Ripplume'
run_hands_over kanji_profile
wine reg add "$FOLDERS" /v 'Local AppData' /t REG_EXPAND_SZ /d "${own:-%USERPROFILE%\AppData\Local}" /f >/dev/null 2>&1
harness_hand_over

# A link planted at the picture's name, pointing at a file of the user's.
printf 'precious\n' >"$ART/victim.txt"
mkdir -p "$HANDOVER"
ln -s "$ART/victim.txt" "$PICTURE"
wine_start HOST "$BIN/Ripplume.scr" /s
check "the run starts" wait_for_window Ripplume_VC 30
check "the link's target is untouched" test "$(cat "$ART/victim.txt")" = precious
check "the picture is a file of its own now" test -f "$PICTURE" -a ! -L "$PICTURE"
check "and a bitmap" test "$(head -c 2 "$PICTURE")" = BM
check "no temporary file is left beside it" test -z "$(ls "$HANDOVER" | grep -i '\.tmp$')"
check "Escape ends the run" escape_renderer
check "the picture is deleted when the run has ended" wait_for 6 test ! -e "$PICTURE"
check "the link's target is still untouched" test "$(cat "$ART/victim.txt")" = precious

# Only the file the run wrote is deleted: one put in its place meanwhile stays.
rm -f "$PICTURE"
wine_start HOST_SWAPPED "$BIN/Ripplume.scr" /s
check "swapped: the run starts" wait_for_window Ripplume_VC 30
printf 'not the picture\n' >"$ART/other.txt"
mv -f "$ART/other.txt" "$PICTURE"
check "swapped: Escape ends the run" escape_renderer
check "swapped: the host has ended" wait_for 10 no_host
check "swapped: the file put in the picture's place is still there" test "$(cat "$PICTURE" 2>/dev/null)" = 'not the picture'

# An old picture that another program holds open cannot be replaced: the run
# must not show it, so no renderer starts and the host ends by itself. The
# holder lets others read, so a renderer started anyway would show it.
convert -size 1024x768 xc:'#c02020' -type TrueColor BMP3:"$PICTURE"
check "a test program holds the old picture open" hold HOLDER hold-file "$HANDOVER_WIN\\Ripplume.bmp" 20 read
wine_start LOCKED "$BIN/Ripplume.scr" /s
check "the host starts" wait_for 15 wine "$BIN/wintool.exe" exists Ripplume_Main
check "and ends by itself" wait_for 15 sh -c "! wine '$BIN/wintool.exe' exists Ripplume_Main"
check "no renderer showed the old picture" test "$(renderer_count)" = 0
kill "$HOLDER" 2>/dev/null
escape_renderer >/dev/null 2>&1

finish_checks
