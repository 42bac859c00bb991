#!/usr/bin/env bash
# The renderer's other ways to end: a close request, a missing picture, an
# empty picture file (with its message).
here=$(dirname "$0")
source "$here/harness.sh"
harness_init renderer_exit

mkdir -p "$HANDOVER"
bash "$here/sample-desktop.sh" desktop "$ART/desktop.png"
convert "$ART/desktop.png" -type TrueColor BMP3:"$ART/picture.bmp"
# The renderer deletes the picture it has read, so each start gets its own.
plant_picture() { cp "$ART/picture.bmp" "$PICTURE"; }

log "close request"
plant_picture
wine_start RENDERER "$BIN/Ripplume.dll"
check "the window appears" wait_for_window Ripplume_VC 30
check "a close request is posted" wine "$BIN/wintool.exe" close Ripplume_VC
wait_exit "$RENDERER" 20
check "a close request ends it with exit code 0 (got $EXIT_CODE)" test "$EXIT_CODE" -eq 0
check "the picture it read is gone with it" test ! -e "$PICTURE"

log "system commands"
plant_picture
wine_start RENDERER "$BIN/Ripplume.dll"
check "the window appears" wait_for_window Ripplume_VC 30
wine "$BIN/wintool.exe" syscommand Ripplume_VC F140 >/dev/null
wine "$BIN/wintool.exe" syscommand Ripplume_VC F170 >/dev/null
check "the screen-saver and monitor-power commands leave it running" stays_so 1 eval '! process_ended "$RENDERER"'
wine "$BIN/wintool.exe" syscommand Ripplume_VC F060 >/dev/null
wait_exit "$RENDERER" 20
check "the close command ends it with exit code 0 (got $EXIT_CODE)" test "$EXIT_CODE" -eq 0

log "Alt+F4"
plant_picture
wine_start RENDERER "$BIN/Ripplume.dll"
check "the window appears" wait_for_window Ripplume_VC 30
check "it has the keyboard" wait_for 10 wine "$BIN/wintool.exe" focused Ripplume_VC
xdotool key alt+F4
wait_exit "$RENDERER" 20
check "Alt+F4 ends it with exit code 0 (got $EXIT_CODE)" test "$EXIT_CODE" -eq 0

log "missing picture"
rm -f "$PICTURE"
wine_start RENDERER "$BIN/Ripplume.dll"
wait_exit "$RENDERER" 20
check "a missing picture ends it with exit code 0 (got $EXIT_CODE)" test "$EXIT_CODE" -eq 0
check "and shows no message" test -z "$(find_window Error)"

log "empty picture"
: >"$PICTURE"
wine_start RENDERER "$BIN/Ripplume.dll"
check "an empty picture shows a message box" wait_for_window Error 30
texts=$(wine "$BIN/wintool.exe" texts Error | tr -d '\r')
screenshot empty_picture_message >/dev/null
log "message box texts: $(echo "$texts" | tr '\n' '|')"
check "it names the file" grep -qF "Failed to open DIB file $HANDOVER_WIN\\Ripplume.bmp." <<<"$texts"
check "the renderer waits for the message to be dismissed" eval '! process_ended "$RENDERER"'
wine "$BIN/wintool.exe" press Error OK
wait_exit "$RENDERER" 20
check "then it ends with exit code 0 (got $EXIT_CODE)" test "$EXIT_CODE" -eq 0
finish_checks
