#!/usr/bin/env bash
# Preview mode: Ripplume.scr /p <handle> lays its still into a preview box,
# at its own size in a 152 x 112 box and scaled to fill any other.
# Across processes the structure is checked (child, parent, size); the
# pixels are checked with the preview window made inside the box's process,
# since a foreign child's drawing does not reach the Xvfb screen.
source "$(dirname "$0")/harness.sh"
harness_init preview

SOURCE=${RIPPLUME_SOURCE:-$(cd "$(dirname "$0")/../.." && pwd)}
STILL="$ART/still.png"
convert "$SOURCE/host/startup/preview_still.bmp" "$STILL"

# The host alone, without the renderer beside it: a preview needs none.
LONE="$WINEPREFIX/drive_c/preview_lone"
rm -rf "$LONE"
mkdir -p "$LONE"
cp "$BIN/Ripplume.scr" "$LONE/"

# start_box NAME MODE W H: a preview box; BOX_HANDLE gets its handle.
start_box() {
  local name=$1 mode=$2 w=$3 h=$4
  rm -f "$WORK/$name".*
  wine_start "BOX_$name" "$BIN/preview_box.exe" "$mode" "$w" "$h" "$WORK_WIN\\$name.txt"
  wait_for 10 test -s "$WORK/$name.txt"
  BOX_HANDLE=$(tr -d '\r\n' <"$WORK/$name.txt" 2>/dev/null)
  [ -n "$BOX_HANDLE" ]
}

# wait_report NAME: waits until the box sees a child; REPORT gets the line
# "found parent-ok child-style x y w h visible".
wait_report() {
  REPORT=""
  wait_for 10 report_shows_child "$1"
}
# Found, and shown (the last field), since the host shows it after parenting.
report_shows_child() {
  REPORT=$(cat "$WORK/$1.txt.report" 2>/dev/null)
  case $REPORT in 1\ *\ 1) return 0 ;; esac
  return 1
}

stop_box() { : >"$WORK/$1.txt.quit"; }

# box_shows_still NAME W H: a screenshot shows the expected still's corner
# at the box's place, (100, 100).
box_shows_still() {
  local shot
  shot=$(screenshot "$1")
  convert "$shot" -crop "${2}x${3}+100+100" +repage "$ART/${1}_seen.png"
  same_pixels "$ART/${1}_expected.png" "$ART/${1}_seen.png"
}

# same_pixels A B: the two pictures have the same size and pixels.
same_pixels() {
  [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]
}

# Across processes, for the usual box and a larger one.
for size in 152x112 200x150; do
  w=${size%x*} h=${size#*x}
  check "box $size started" start_box "b$size" box "$w" "$h"
  wine_start "SCR_$size" "$LONE/Ripplume.scr" /p "$BOX_HANDLE"
  check "preview window appears in the $size box" wait_report "b$size"
  check "it is a visible child of the box at (0,0) with the box's size ($REPORT)" \
    test "$REPORT" = "1 1 1 0 0 $w $h 1"
  pid_var="SCR_$size"
  stop_box "b$size"
  check "the preview process ends with its box" wait_exit "${!pid_var}" 10
done

# The /p:<handle> spelling addresses the same box.
check "box for /p:" start_box colon box 152 112
wine_start SCR_COLON "$LONE/Ripplume.scr" "/p:$BOX_HANDLE"
check "/p:<handle> lays the preview into the box" wait_report colon
stop_box colon
wait_exit "$SCR_COLON" 10

# A handle that names no window: the host does not linger invisibly.
wine_start SCR_BAD "$LONE/Ripplume.scr" /p 4660
check "a preview for a handle that names no window ends" wait_exit "$SCR_BAD" 10
wine_start SCR_NONE "$LONE/Ripplume.scr" /p
check "a preview without a handle ends" wait_exit "$SCR_NONE" 10

# Pixels, with the preview made inside the box's process. The box sits at
# (100, 100) with a white background, so any gap would show.
# rmse_within A B LIMIT: the pictures differ by at most LIMIT (0..1, root mean square).
rmse_within() {
  local error
  error=$(compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\([0-9.e+-]*\)).*/\1/p')
  awk -v e="$error" -v l="$3" 'BEGIN { exit !(e != "" && e <= l) }'
}
box_fill_seen() {
  local shot
  shot=$(screenshot "$1")
  convert "$shot" -crop "${2}x${3}+100+100" +repage "$ART/${1}_seen.png"
  rmse_within "$ART/${1}_expected.png" "$ART/${1}_seen.png" 0.08
}
pixels_case() {
  local w=$1 h=$2 name=px$1x$2
  start_box "$name" inproc "$w" "$h" || { fail "in-process box $w x $h"; return; }
  wait_report "$name"
  if [ "$w" = 152 ] && [ "$h" = 112 ]; then
    cp "$STILL" "$ART/${name}_expected.png"
    check "$w x $h box: the still at its own size, filling it exactly" wait_for 10 box_shows_still "$name" "$w" "$h"
  else
    # As the still looks scaled to cover the box (cut evenly where the box's
    # proportions differ); the still in the corner with black beside it, or
    # cut off, is far from that.
    convert "$STILL" -resize "${w}x${h}^" -gravity center -extent "${w}x${h}" "$ART/${name}_expected.png"
    check "$w x $h box: the still scaled to fill it" wait_for 10 box_fill_seen "$name" "$w" "$h"
  fi
  stop_box "$name"
  local var="BOX_$name"
  wait_exit "${!var}" 10
}
for size in 152x112 228x168 304x224 100x80; do
  pixels_case "${size%x*}" "${size#*x}"
done

finish_checks
