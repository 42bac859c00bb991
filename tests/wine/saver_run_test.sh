#!/usr/bin/env bash
# A saver run: Ripplume.scr /s captures the screen mirrored into
# %LOCALAPPDATA%\Ripplume\Ripplume.bmp, starts the renderer, keeps its hidden window
# "Ripplume_Main" while the renderer's "Ripplume_VC" is up, and ends soon
# after the renderer has gone, or at once, taking the renderer with it, when
# its window is closed or the session ends. The renderer deletes the capture
# once it has read it, and no end leaves it behind.
source "$(dirname "$0")/harness.sh"
harness_init saver_run

CAPTURE="$PICTURE"

# An asymmetric desktop: every column differs from its mirror image.
convert -size 1024x768 gradient:'#103060-#60a0e0' \
  -fill '#e03020' -draw 'rectangle 0,0 120,767' \
  -fill '#f0e040' -draw 'rectangle 300,100 520,300' \
  -fill '#20c040' -draw 'polygon 700,700 1023,400 1023,767' \
  -fill white -draw 'rectangle 121,0 121,767' \
  "$ART/desktop.png"
show_on_root "$ART/desktop.png"
before=$(screenshot before_run)

rm -f "$CAPTURE"
started=$(date +%s.%N)
# This run's renderer keeps the capture, to be compared with the screen.
RIPPLUME_TEST_KEEP_PICTURE=1 wine_start HOST "$BIN/Ripplume.scr" /s
check "the renderer's window Ripplume_VC appears" wait_for_window Ripplume_VC 30
log "renderer window after $(echo "$(date +%s.%N) - $started" | bc) s"
check "the host's hidden window Ripplume_Main is there during the run" wine "$BIN/wintool.exe" exists Ripplume_Main
info=$(wine "$BIN/wintool.exe" info Ripplume_Main 2>/dev/null | tr -d '\r')
check "Ripplume_Main is never shown ($info)" test "${info%% *}" = 0

# The capture: the screen as it was, mirrored left to right, same size.
check "the capture file was written" test -s "$CAPTURE"
check "the capture is a 24-bit bitmap of the screen's size ($(identify -format '%w %h %[bit-depth] %r' "$CAPTURE" 2>&1))" \
  test "$(identify -format '%w %h' "$CAPTURE")" = "1024 768" -a "$(head -c 2 "$CAPTURE")" = BM \
  -a "$(od -An -tu2 -j28 -N2 "$CAPTURE" | tr -d ' ')" = 24
convert "$CAPTURE" -flop "$ART/capture_unmirrored.png"
convert "$CAPTURE" "$ART/capture.png"
check "the capture, mirrored back, is the screen before the run" \
  test "$(compare -metric AE "$ART/capture_unmirrored.png" "$before" null: 2>&1)" = 0
check "the capture's rightmost column is the screen's leftmost" \
  test "$(pixel_at "$ART/capture.png" 1023 10)" = "$(pixel_at "$before" 0 10)" -a \
       "$(pixel_at "$ART/capture.png" 902 10)" = "$(pixel_at "$before" 121 10)"
check "and it is not the screen itself" \
  test "$(compare -metric AE "$ART/capture.png" "$before" null: 2>&1)" != 0

screenshot during_run >/dev/null
# Escape ends the renderer; the host follows within its next watch tick.
check "Escape ends the renderer" escape_renderer
gone=$(date +%s.%N)
check "the host ends within two seconds of the renderer" wait_exit "$HOST" 2
log "host gone $(echo "$(date +%s.%N) - $gone" | bc) s after the renderer's window"
check "the host ends with exit code 0" test "$EXIT_CODE" = 0
check "the capture, a copy of the user's screen, is gone with the run" test ! -e "$CAPTURE"

wine_start HOST "$BIN/Ripplume.scr" /s
check "a run's renderer up" wait_for_window Ripplume_VC 30
check "the renderer deletes the capture once read" wait_for 20 test ! -e "$CAPTURE"
check "and the run goes on" test -n "$(find_window Ripplume_VC)"
check "Escape ends that run" escape_renderer
check "its host ends" wait_exit "$HOST" 5

# run_ended_by LABEL COMMAND...: a run that COMMAND ends leaves no Ripplume
# process and no capture behind. Its renderer keeps the capture, as one that
# has not read it yet would, so the host's own deletion is what is checked.
run_ended_by() {
  local label=$1
  shift
  RIPPLUME_TEST_KEEP_PICTURE=1 wine_start HOST_RUN "$BIN/Ripplume.scr" /s
  check "$label: renderer up" wait_for_window Ripplume_VC 30
  check "$label: hidden window up" wine "$BIN/wintool.exe" exists Ripplume_Main
  "$@" >/dev/null 2>&1
  check "$label: the host ends" wait_exit "$HOST_RUN" 5
  check "$label: the renderer ends with it" wait_for 10 no_renderer
  check "$label: no capture is left" wait_for 5 test ! -e "$CAPTURE"
  [ "$(renderer_count)" = 0 ] || escape_renderer
}
kill_renderer() { kill -9 $(renderer_pids); }
no_renderer() { [ "$(renderer_count)" = 0 ]; }

run_ended_by "log-off" wine "$BIN/end_session.exe" Ripplume_Main
run_ended_by "close request" wine "$BIN/wintool.exe" close Ripplume_Main
run_ended_by "renderer killed" kill_renderer

# A capture a crash left behind goes at the next start, here a preview.
cp "$ART/capture.png" "$CAPTURE"
wine "$BIN/Ripplume.scr" /p 0 >/dev/null 2>&1
check "a leftover capture is removed at the next start" test ! -e "$CAPTURE"

# A renderer file that is no program: the run cannot start it and ends at
# the first watch tick instead of waiting.
BROKEN="$WINEPREFIX/drive_c/saver_broken"
rm -rf "$BROKEN"
mkdir -p "$BROKEN"
cp "$BIN/Ripplume.scr" "$BROKEN/"
echo "not a program" >"$BROKEN/Ripplume.dll"
rm -f "$CAPTURE"
wine_start HOST4 "$BROKEN/Ripplume.scr" /s
check "a renderer that cannot start: the host ends by itself" wait_exit "$HOST4" 5
check "... and removes the capture, which no renderer will read" test ! -e "$CAPTURE"
check "... and no renderer window appeared" test -z "$(find_window Ripplume_VC)"

finish_checks
