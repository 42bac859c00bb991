#!/usr/bin/env bash
# The hand-over picture C:\q_lorn\Ripplume.bmp is a copy of the user's screen:
# it is written to a fresh file and renamed into place, so a link planted at
# its name is replaced, not written through; it is gone once the run has
# ended; and a picture that cannot be replaced never reaches the renderer.
source "$(dirname "$0")/harness.sh"
harness_init hand_over
CAPTURE="$QLORN/Ripplume.bmp"
mkdir -p "$QLORN"

# A link planted at the picture's name, pointing at a file of the user's.
printf 'precious\n' >"$ART/victim.txt"
rm -f "$CAPTURE"
ln -s "$ART/victim.txt" "$CAPTURE"
wine_start HOST "$BIN/Ripplume.scr" /s
check "the run starts" wait_for_window Ripplume_VC 30
check "the link's target is untouched" test "$(cat "$ART/victim.txt")" = precious
check "the picture is a file of its own now" test -f "$CAPTURE" -a ! -L "$CAPTURE"
check "and a bitmap" test "$(head -c 2 "$CAPTURE")" = BM
check "no temporary file is left beside it" test -z "$(ls "$QLORN" | grep -i '\.tmp$')"
check "Escape ends the run" escape_renderer
for _ in $(seq 30); do [ -e "$CAPTURE" ] || break; sleep 0.2; done
check "the picture is deleted when the run has ended" test ! -e "$CAPTURE"
check "the link's target is still untouched" test "$(cat "$ART/victim.txt")" = precious

# An old picture that another program holds open cannot be replaced: the run
# must not show it, so no renderer starts and the host ends by itself. The
# holder lets others read, so a renderer started anyway would show it.
convert -size 1024x768 xc:'#c02020' -type TrueColor BMP3:"$CAPTURE"
check "a test program holds the old picture open" hold HOLDER hold-file 'C:\q_lorn\Ripplume.bmp' 20 read
wine_start LOCKED "$BIN/Ripplume.scr" /s
sleep 10
check "no renderer shows the old picture" test -z "$(find_window Ripplume_VC)"
check "the host has ended by itself" sh -c "! wine '$BIN/wintool.exe' exists Ripplume_Main"
kill "$HOLDER" 2>/dev/null
escape_renderer >/dev/null 2>&1

harness_finish
