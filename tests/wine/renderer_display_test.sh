#!/usr/bin/env bash
# On a display that cannot take 1024 x 768 the renderer ends with exit code 0
# without ever showing its window.
here=$(dirname "$0")
source "$here/harness.sh"
harness_init renderer_display 800x600

mkdir -p "$HANDOVER"
bash "$here/sample-desktop.sh" desktop "$ART/desktop.png"
convert "$ART/desktop.png" -type TrueColor BMP3:"$PICTURE"

wine_start RENDERER "$BIN/Ripplume.dll"
seen=0
for i in $(seq 400); do
  process_ended "$RENDERER" && break
  [ -n "$(find_window Ripplume_VC)" ] && seen=1
  sleep 0.05
done
wait_exit "$RENDERER" 1
check "it ends with exit code 0 (got $EXIT_CODE)" test "$EXIT_CODE" -eq 0
check "its window never appeared" test "$seen" -eq 0
finish_checks
