#!/usr/bin/env bash
# ripplume, the Linux display mode, on a private Xvfb display:
# display_mode_x11_test.sh RIPPLUME BLANK_WINDOW FAKE_GETIMAGE RESOURCES_LEFT ARTIFACTS
#  - in a window of its own it shows the screen's picture, mirrored, on the
#    water; a left-button drag stirs it; Escape ends it with exit code 0,
#    having freed the colormap, window, GL context and font it made;
#  - on a window it is given (-window-id, XSCREENSAVER_WINDOW) it draws there,
#    follows a resize and ends within a second on SIGTERM;
#  - under XScreenSaver the picture comes from its getimage helper; without
#    one the water is plain blue, and it says why;
#  - SIGTERM ends it within 0.5 s, exit code 0, even while the helper hangs
#    (ending the helper's children too) or the X server does not answer;
#  - any other ending signal (HUP, QUIT, PIPE) ends the helper's group too;
#  - no X error ends it: a helper that frees its pixmap gives plain water, a
#    window destroyed under it ends it with exit code 0;
#  - no such window, an input-only one, no GLX, no font for -fps: it says so
#    in its own words;
#  - -scale 0.5: the frame is drawn small and scaled up, with MIT-SHM or without.
RIPPLUME=$1
BLANK=$2
FAKE_GETIMAGE=$3
RESOURCES_LEFT=$4
source "$(dirname "$0")/x11_harness.sh"
x11_init "$5"

# wait_named NAME: a window with exactly that name appears.
named() { [ -n "$(xdotool search --name "^$1\$" 2>/dev/null)" ]; }
wait_named() { wait_for 10 named "$1"; }

# ---- a window of its own, over a known desktop ----
a_desktop "$ART/desktop.png"
root_picture "$ART/desktop.png"
desktop=$(shot desktop_before)
"$RIPPLUME" -window -picture-out "$ART/picture.ppm" >"$ART/window.log" 2>&1 &
RUN=$!
PIDS+=("$RUN")
check "ripplume -window opens its window" wait_named Ripplume
# the water shows the picture: the red and the yellow of the desktop are on screen.
water_shows_desktop() {
  frame=$(shot own_window)
  has_colour "$frame" "#e03020" && has_colour "$frame" "#f0e040"
}
check "the water shows the picture (the red and the yellow of the desktop are on screen)" \
  wait_for 10 water_shows_desktop
convert "$desktop" -flop "$ART/desktop_flopped.png"
check "its picture is the screen as it was, mirrored left to right" \
  test "$(compare -metric AE "$ART/picture.ppm" "$ART/desktop_flopped.png" null: 2>&1)" = 0
xdotool mousemove 512 384 keydown Escape sleep 0.2 keyup Escape
check "Escape ends it" ends_within 5 "$RUN"
check "with exit code 0 (got ${EXIT_CODE:-none})" test "${EXIT_CODE:-1}" = 0

# white_in_corner FILE: white pixels where -fps writes the frame rate (the sky).
white_in_corner() {
  convert "$1" -crop 200x30+0+0 +repage -fuzz 10% -fill black +opaque white -fill white -opaque white \
    -format '%[fx:round(mean*w*h)]' info:
}
# ---- drawn at half size and scaled up: through shared memory, and without it ----
# scaled_right NAME: the desktop's colours on the water, the sky above it (not
# turned upside down) and the frame rate in the corner.
scaled_right() {
  local scaled
  scaled=$(shot "$1")
  read -r tr tg tb <<<"$(mean_in "$scaled" 600x40+400+10)"
  read -r br bg bb <<<"$(mean_in "$scaled" 1024x60+0+700)"
  has_colour "$scaled" "#e03020" && has_colour "$scaled" "#f0e040" && [ $((tr + tg + tb)) -lt 60 ] &&
    [ $((br + bg + bb)) -gt 150 ] && [ "$(white_in_corner "$scaled")" -gt 30 ]
}
"$RIPPLUME" -window -scale 0.5 -fps >"$ART/scaled.log" 2>&1 &
RUN=$!
PIDS+=("$RUN")
check "-scale 0.5: the frame is scaled up the right way round, in its colours, with the frame rate" \
  wait_for 20 scaled_right scaled
check "... drawn at half size" grep -q "scale 0.500" "$ART/scaled.log"
kill -TERM "$RUN"
ends_within 5 "$RUN"
start_display -screen 0 1024x768x24 -extension MIT-SHM
root_picture "$ART/desktop.png" "$NEW_DISPLAY"
DISPLAY=$NEW_DISPLAY "$RIPPLUME" -root -scale 0.5 -fps >"$ART/no_shm.log" 2>&1 &
RUN=$!
PIDS+=("$RUN")
scaled_right_without_shm() { DISPLAY=$NEW_DISPLAY scaled_right no_shm; }
check "... and so on a display without MIT-SHM" wait_for 20 scaled_right_without_shm
check "... drawn at half size there too" grep -q "scale 0.500" "$ART/no_shm.log"
kill -TERM "$RUN"
ends_within 5 "$RUN"

# ---- a drag on a flat grey desktop: every change comes from the waves ----
convert -size 1024x768 xc:'#808080' "$ART/grey.png"
root_picture "$ART/grey.png"
LD_PRELOAD=$RESOURCES_LEFT "$RIPPLUME" -window -fps >"$ART/drag.log" 2>&1 &
RUN=$!
PIDS+=("$RUN")
wait_named Ripplume
fps_shown() {
  calm_shot=$(shot before_drag)
  [ "$(white_in_corner "$calm_shot")" -gt 30 ]
}
check "-fps writes the frame rate in the top-left corner" wait_for 20 fps_shown
check "... and without -fps the corner is plain sky" test "$(white_in_corner "$frame")" = 0
check "a left-button drag stirs the water" drag_stirs 1024x560+0+208
xdotool keydown Escape sleep 0.2 keyup Escape
check "Escape ends it again" ends_within 5 "$RUN"
check "... having freed all it made before it closed the display" \
  grep -q "left at XCloseDisplay: 0 colormaps, 0 windows, 0 GL contexts, 0 fonts" "$ART/drag.log"

# ---- a window it is given ----
root_picture "$ART/desktop.png"
"$BLANK" >"$ART/blank.txt" &
PIDS+=("$!")
wait_for 10 test -s "$ART/blank.txt"
ID=$(head -n 1 "$ART/blank.txt")
check "a test window to draw on ($ID)" test -n "$ID"
"$RIPPLUME" -window-id "$ID" >"$ART/given.log" 2>&1 &
RUN=$!
PIDS+=("$RUN")
given_drawn() {
  given=$(shot given_window)
  read -r r g b <<<"$(mean_in "$given" 400x300+100+100)"
  [ "$r" -lt 200 ]
}
check "-window-id: it draws on that window (no longer white)" wait_for 10 given_drawn
log "given window's mean colour: $r $g $b"
check "... and not beyond it" test "$(mean_in "$given" 50x50+600+500)" = "$(mean_in "$ART/desktop.png" 50x50+600+500)"
xdotool windowsize "$ID" 600 420
# The top of the grown part is sky (black) when drawn, the window's white
# when not; the water spreads into its lower corner, where the old viewport
# would leave only black.
resize_followed() {
  resized=$(shot given_resized)
  read -r r g b <<<"$(mean_in "$resized" 150x30+530+105)"
  read -r lr lg lb <<<"$(mean_in "$resized" 120x50+560+460)"
  [ "$r" -lt 60 ] && [ $((lr + lg + lb)) -gt 150 ]
}
wait_for 10 resize_followed
log "the grown part's mean colour: $r $g $b; its lower corner: $lr $lg $lb"
check "it follows a resize of its window: the grown part is drawn" test "$r" -lt 60
check "the water fills the resized window" test $((lr + lg + lb)) -gt 150
children=$(pgrep -P "$RUN" | wc -l)
kill -TERM "$RUN"
check "SIGTERM ends it within a second" ends_within 1 "$RUN"
check "with exit code 0 (got ${EXIT_CODE:-none})" test "${EXIT_CODE:-1}" = 0
check "it started no other process" test "$children" = 0
check "it has left the display (no client of its own remains)" sh -c "! xlsclients 2>/dev/null | grep -q ripplume"

# ---- XScreenSaver's window: the screen is covered, the picture comes from its helper ----
# water_under_xscreensaver HELPER NAME LOOKS: ripplume on XScreenSaver's
# window with that picture helper, until the mean colour of its water (r g b)
# looks as the command LOOKS says (10 s at most).
water_under_xscreensaver() {
  RIPPLUME_GETIMAGE=$1 XSCREENSAVER_WINDOW=$ID "$RIPPLUME" -picture-out "$ART/$2.ppm" >"$ART/$2.log" 2>&1 &
  RUN=$!
  PIDS+=("$RUN")
  water_looks() {
    read -r r g b <<<"$(mean_in "$(shot "$2")" 300x150+250+350)"
    "$3"
  }
  wait_for 10 water_looks "$@"
  log "$2: the water's mean colour is $r $g $b"
}
helper_colour() { [ "$r" -gt "$g" ] && [ "$g" -gt "$b" ] && [ "$r" -gt 120 ]; }
plain_blue() { [ "$b" -gt "$r" ] && [ "$b" -gt "$g" ] && [ "$b" -lt 128 ] && [ "$b" -gt 20 ]; }

water_under_xscreensaver "$FAKE_GETIMAGE" helper_picture helper_colour
check "XSCREENSAVER_WINDOW: the picture is the one XScreenSaver's helper gives (#c08040)" helper_colour
kill -TERM "$RUN"
check "and SIGTERM ends it" ends_within 1 "$RUN"
check "leaving no helper behind" sh -c "! pgrep -x fake_getimage >/dev/null"
# XScreenSaver's helper fits the desktop under the window to the pixmap it is given.
check "the helper's pixmap has the window's size (600x420), so the picture is not scaled" \
  test "$(identify -format '%wx%h' "$ART/helper_picture.ppm" 2>/dev/null)" = 600x420

# ---- no helper: plain blue ----
water_under_xscreensaver /nonexistent plain_water plain_blue
check "without a picture the water is plain dark blue" plain_blue
kill -TERM "$RUN"
check "and SIGTERM ends it" ends_within 1 "$RUN"
check "... and it says why" grep -q "no picture of the desktop: RIPPLUME_GETIMAGE names /nonexistent" \
  "$ART/plain_water.log"

# ---- a stop at any moment ends it at once ----
# A picture helper that hangs, with a child of its own; it writes both pids.
printf '#!/bin/sh\nsleep 600 &\necho "$$ $!" >"%s"\nexec sleep 600\n' "$ART/helper_started" >"$ART/hanging_getimage"
chmod +x "$ART/hanging_getimage"
# hanging NAME: ripplume on XScreenSaver's window, its picture helper hung;
# its pid in RUN, the helper's and its child's in helper and helper_child.
hanging() {
  rm -f "$ART/helper_started"
  RIPPLUME_GETIMAGE=$ART/hanging_getimage XSCREENSAVER_WINDOW=$ID "$RIPPLUME" >"$ART/$1.log" 2>&1 &
  RUN=$!
  PIDS+=("$RUN")
  wait_for 10 test -s "$ART/helper_started"
  read -r helper helper_child <"$ART/helper_started"
  PIDS+=("$helper" "$helper_child")
}
hanging hanging
kill -TERM "$RUN"
check "SIGTERM while the picture helper hangs ends it within 0.5 s" ends_within 0.5 "$RUN"
check "... with exit code 0 (got ${EXIT_CODE:-none})" test "${EXIT_CODE:-1}" = 0
running() { [ -e "/proc/$1" ] && ! grep -q ') Z' "/proc/$1/stat"; }
check "... ending the helper and its child" wait_for 2 eval '! running "$helper" && ! running "$helper_child"'
for signal in HUP QUIT PIPE; do
  hanging "hanging_$signal"
  kill -"$signal" "$RUN"
  check "SIG$signal while the picture helper hangs ends it, the helper and its child" \
    eval 'ends_within 2 "$RUN" && wait_for 2 eval "! running $helper && ! running $helper_child"'
done

# ---- X errors: a fallback or a clean end ----
printf '#!/bin/sh\nexec "%s" "$1" "$2" free\n' "$FAKE_GETIMAGE" >"$ART/freeing_getimage"
chmod +x "$ART/freeing_getimage"
water_under_xscreensaver "$ART/freeing_getimage" freed_pixmap plain_blue
check "a helper that frees its pixmap: plain water, saying why, still running" \
  eval 'plain_blue && grep -q "no picture of the desktop" "$ART/freed_pixmap.log" && ! process_ended "$RUN"'
kill -TERM "$RUN"
ends_within 1 "$RUN"
"$BLANK" >"$ART/doomed.txt" &
doomed=$!
PIDS+=("$doomed")
wait_for 5 test -s "$ART/doomed.txt"
"$RIPPLUME" -window-id "$(head -n 1 "$ART/doomed.txt")" -fps >"$ART/doomed.log" 2>&1 &
RUN=$!
PIDS+=("$RUN")
wait_for 10 grep -q fps "$ART/doomed.log"
kill "$doomed"  # its window goes with it
check "its window destroyed during the run: it ends, with exit code 0" \
  eval 'ends_within 10 "$RUN" && [ "$EXIT_CODE" = 0 ]'

# An X server that takes the connection and never answers: it waits in XOpenDisplay.
for number in $(seq 201 240); do [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] || break; done
python3 -c 'import socket, sys, time
s = socket.socket(socket.AF_UNIX); s.bind(sys.argv[1]); s.listen(1)
c, _ = s.accept(); open(sys.argv[2], "w").close(); time.sleep(30)' "/tmp/.X11-unix/X$number" "$ART/connected" &
PIDS+=("$!")
wait_for 10 test -S "/tmp/.X11-unix/X$number"
DISPLAY=:$number "$RIPPLUME" >"$ART/silent_server.log" 2>&1 &
RUN=$!
PIDS+=("$RUN")
wait_for 10 test -e "$ART/connected"
kill -TERM "$RUN"
check "SIGTERM while the X server does not answer ends it within 0.5 s" ends_within 0.5 "$RUN"
check "... with exit code 0, not killed by the signal (got ${EXIT_CODE:-none})" test "${EXIT_CODE:-1}" = 0
rm -f "/tmp/.X11-unix/X$number"

# ---- what went wrong, in its own words ----
"$RIPPLUME" -window-id 0x3fffff1 >"$ART/no_window.log" 2>&1
code=$?
check "-window-id of no window: exit 1 (got $code), saying so in its own words" \
  eval '[ $code = 1 ] && grep -q "0x3fffff1 is not a window" "$ART/no_window.log" && ! grep -q BadWindow "$ART/no_window.log"'
"$BLANK" input-only >"$ART/input_only.txt" &
PIDS+=("$!")
wait_for 5 test -s "$ART/input_only.txt"
"$RIPPLUME" -window-id "$(head -n 1 "$ART/input_only.txt")" >"$ART/input_only.log" 2>&1
code=$?
check "-window-id of an input-only window: exit 1 (got $code), saying so in its own words" \
  eval '[ $code = 1 ] && grep -q "input-only window" "$ART/input_only.log" && ! grep -q "X Error" "$ART/input_only.log"'
start_display -extension GLX
DISPLAY=$NEW_DISPLAY "$RIPPLUME" >"$ART/no_glx.log" 2>&1
code=$?
check "a display without GLX: exit 1 (got $code), saying so" eval '[ $code = 1 ] && grep -q "has no GLX" "$ART/no_glx.log"'
# font_path [FOLDER]: the display's font path made that folder alone, or its default again.
font_path() {
  python3 -c 'import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
d = ctypes.c_void_p(x.XOpenDisplay(None))
folders = (ctypes.c_char_p * 1)(*[f.encode() for f in sys.argv[1:]])
x.XSetFontPath(d, folders, len(sys.argv) - 1)
x.XCloseDisplay(d)' "$@"
}
mkdir -p "$ART/no_fonts"
echo 0 >"$ART/no_fonts/fonts.dir"
font_path "$ART/no_fonts"
"$RIPPLUME" -window -fps >"$ART/no_font.log" 2>&1 &
RUN=$!
PIDS+=("$RUN")
check "-fps without X's font \"fixed\": it says the frame rate cannot be drawn" \
  wait_for 10 grep -q -- "-fps: the frame rate cannot be drawn" "$ART/no_font.log"
kill -TERM "$RUN"
ends_within 2 "$RUN"
font_path

finish_checks
