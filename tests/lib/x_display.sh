# Private X displays and what the tests look at on them. Source it (with
# checks.sh). Every server and background program it starts is in X_PIDS,
# which stop_x_servers ends.
#   start_x_server COMMAND ARGS...   an X server on a free display number (@N in the arguments)
#   start_xvfb [WIDTHxHEIGHT]        an Xvfb display; exported as DISPLAY
#   show_on_root FILE                a picture on the root window, once it shows
#   screenshot NAME, pixel_at, mean_of, differing_pixels, same_as
#   find_window, wait_for_window, wait_for_no_window, window_geometry

X_PIDS=()

stop_x_servers() {
  local pid
  for pid in "${X_PIDS[@]}"; do kill "$pid" >/dev/null 2>&1; done
  return 0
}

# start_x_server COMMAND [ARGS...]: starts an X server on a free display
# number, written @N in the arguments; sets X_DISPLAY (":N") once it answers.
start_x_server() {
  local display pid
  for display in $(seq 90 199); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
    "${@//@N/$display}" >/dev/null 2>&1 &
    pid=$!
    X_PIDS+=("$pid")
    if wait_for 10 eval "process_ended $pid || xdpyinfo -display :$display >/dev/null 2>&1" &&
      ! process_ended "$pid"; then
      X_DISPLAY=":$display"
      return 0
    fi
    kill "$pid" 2>/dev/null
  done
  return 1
}

# start_xvfb [WIDTHxHEIGHT]: an Xvfb display of one screen (1024x768 by
# default), exported as DISPLAY. -noreset: without it the server resets its
# root picture when the last client leaves.
start_xvfb() {
  start_x_server Xvfb ":@N" -screen 0 "${1:-1024x768}x24" -nolisten tcp -noreset || return 1
  export DISPLAY=$X_DISPLAY
}

# screenshot NAME: saves the whole X screen as $ART/NAME.png and prints the path.
screenshot() {
  local file="$ART/$1.png"
  import -window root "$file" >/dev/null 2>&1 || xwd -root -silent | convert xwd:- "$file"
  echo "$file"
}

# pixel_at FILE X Y: prints "R G B" (0..255) of one pixel.
pixel_at() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 rgb:- | od -An -tu1 | awk '{print $1, $2, $3}'
}

# mean_of FILE [GEOMETRY]: the mean brightness (0..255) of the image or of a
# crop like 200x100+10+10.
mean_of() {
  local crop=()
  [ -n "${2:-}" ] && crop=(-crop "$2")
  convert "$1" "${crop[@]}" -colorspace Gray -format '%[fx:round(mean*255)]' info:
}

# differing_pixels A B [GEOMETRY]: the number of pixels that differ (after an optional crop).
differing_pixels() {
  local crop=() a="$ART/.diff-a.png" b="$ART/.diff-b.png"
  [ -n "${3:-}" ] && crop=(-crop "$3" +repage)
  convert "$1" "${crop[@]}" "$a" && convert "$2" "${crop[@]}" "$b" || return 1
  compare -metric AE "$a" "$b" null: 2>&1 | awk '{print int($1)}'
  rm -f "$a" "$b"
}

# screen_shows FILE [GEOMETRY...]: the screen now shows the picture, or
# those parts of it: no pixel off by more than 3 % (the screen may hold a
# picture of more colour depth dithered).
screen_shows() {
  local file=$1 now part
  now=$(screenshot .now)
  shift
  [ $# -gt 0 ] || { [ "$(compare -fuzz 3% -metric AE "$now" "$file" null: 2>&1)" = 0 ]; return; }
  for part in "$@"; do
    convert "$now" -crop "$part" +repage "$ART/.shows-a.png" &&
      convert "$file" -crop "$part" +repage "$ART/.shows-b.png" &&
      [ "$(compare -fuzz 3% -metric AE "$ART/.shows-a.png" "$ART/.shows-b.png" null: 2>&1)" = 0 ] || return 1
  done
}

# show_on_root FILE [GEOMETRY...]: puts a picture of the screen's size on the
# root window and waits until the screen shows it, or those parts of it (the
# monitors, where parts of a several-monitor screen are on none and hold
# what they may).
show_on_root() {
  display -window root "$1" >/dev/null 2>&1 &
  X_PIDS+=("$!")
  wait_for 15 screen_shows "$@" || log "the root window never showed $1"
}

# settled GEOMETRY: three screenshots of that part of the screen, taken over
# half a second or more, are the same and not of one colour: whatever was
# drawing there is done. Each screenshot takes longer on a loaded machine, so
# the span grows with the load, as the drawing's own pauses do.
settled() {
  local a b c
  a=$(screenshot .settled-a)
  sleep 0.25
  b=$(screenshot .settled-b)
  sleep 0.25
  c=$(screenshot .settled-c)
  [ "$(differing_pixels "$a" "$b" "$1")" = 0 ] && [ "$(differing_pixels "$b" "$c" "$1")" = 0 ] &&
    [ "$(convert "$a" -crop "$1" +repage -format '%k' info:)" -gt 1 ]
}
# wait_settled GEOMETRY [SECONDS]: waits (20 s by default) until that part of
# the screen has settled, such as a window after its first paint.
wait_settled() { wait_for "${2:-20}" settled "$1"; }

# off_flat_colour FILE GEOMETRY: the pixels of that part of a screenshot
# that differ from its most common colour (on a flat picture: the waves).
off_flat_colour() {
  convert "$1" -crop "$2" +repage -depth 8 rgb:- | od -An -v -tu1 -w3 | awk '
    { n[$0]++; total++ } END { best = 0; for (k in n) if (n[k] > best) best = n[k]; print total - best }'
}
# sweep_screen BUTTON SECONDS [LEFT TOP RIGHT BOTTOM]: the pointer sweeps that
# part of the screen (by default its middle, 100,250 to 900,650) in rows 40
# pixels apart, a step of 40 pixels every 16 ms, sweep after sweep (about 4 s
# each) until SECONDS have passed. With BUTTON "press" the left button is
# held down through each sweep: a drag whose every step lands on cells of its
# own, however slowly the water is drawn.
sweep_screen() {
  local moves=() x y end=$(($(now_us) + $(seconds_us "$2"))) left=${3:-100} top=${4:-250}
  for y in $(seq "$top" 40 "${6:-650}"); do
    for x in $(seq "$left" 40 "${5:-900}"); do moves+=(mousemove "$x" "$y" sleep 0.016); done
  done
  while [ "$(now_us)" -lt "$end" ]; do
    if [ "$1" = press ]; then
      xdotool mousemove "$left" "$top" mousedown 1 "${moves[@]}" mouseup 1
    else
      xdotool mousemove "$left" "$top" "${moves[@]}"
    fi
  done
}

# peaks_while_sweeping BUTTON SECONDS ENOUGH GEOMETRY... : counts the waves
# (WAVES FILE GEOMETRY, by default the pixels off the flat colour) in each
# part of the screen, again and again while sweep_screen BUTTON SECONDS runs
# over SWEEP_AREA ("LEFT TOP RIGHT BOTTOM", by default the middle); PEAKS gets
# each part's highest count. With ENOUGH (not empty) the sweep ends as soon as
# the first part's count passes it. SWEPT: how long it swept, in tenths of a
# second.
peaks_while_sweeping() {
  local button=$1 seconds=$2 enough=$3 shot count sweep started i
  shift 3
  local geometries=("$@")
  shot=$(screenshot sweep_start)
  PEAKS=()
  for i in "${!geometries[@]}"; do PEAKS[i]=$("${WAVES:-off_flat_colour}" "$shot" "${geometries[i]}"); done
  started=$(now_us)
  # shellcheck disable=SC2086
  sweep_screen "$button" "$seconds" ${SWEEP_AREA:-} &
  sweep=$!
  while ! process_ended "$sweep"; do
    shot=$(screenshot sweeping)
    for i in "${!geometries[@]}"; do
      count=$("${WAVES:-off_flat_colour}" "$shot" "${geometries[i]}")
      [ "$count" -gt "${PEAKS[i]}" ] && PEAKS[i]=$count
    done
    [ -n "$enough" ] && [ "${PEAKS[0]}" -gt "$enough" ] && break
  done
  pkill -P "$sweep" xdotool 2>/dev/null
  kill "$sweep" 2>/dev/null
  wait "$sweep" 2>/dev/null
  xdotool mouseup 1 2>/dev/null
  SWEPT=$((($(now_us) - started) / 100000))
  return 0
}

# drag_stirs GEOMETRY [OTHER_GEOMETRY]: a left-button drag stirs the water in
# GEOMETRY far more than the random drops do; with OTHER_GEOMETRY (another
# monitor's water), it stirs that one no more than the drops do. A picture of
# flat colours changes on screen only where waves are, so the pixels off its
# colours count the waves.
# The control comes first, in the same run: 10 s of the same sweeps without
# the button, whose peak is what the drops' rings (and the camera's own change
# at the picture's edges) reach. The drag then sweeps until the count passes
# that peak by 5 % of the area, within 30 s: a drag dents a cell every frame,
# the drops one every 150 frames, so on any machine the drag's water, given
# the frames, lies far above anything the drops reach.
# Measured on a 2-core machine, 20 runs each, counts in pixels ("quiet": the
# test at high priority beside other work, load 5-12; "loaded": beside 8
# busy loops, load 15-22):
#   Wine, 1024x600: control peaks 32,800-44,900; the drag passed its bar
#     (63,500-75,700) in 1.5-4 s quiet, 5-14 s loaded; with the button press
#     taken out, the sweeps peaked at 35,800-46,300 in 20-35 s, never a bar.
#   X11, 1024x560: control peaks 200-18,700; the drag passed its bar
#     (30,800-47,400), in 4-12 s where timed (loaded); without the press,
#     peaks of 1,500-19,400 against bars of 28,900 and more.
DRAG_CONTROL_SECONDS=10
DRAG_SECONDS=30
drag_stirs() {
  local margin control other_control bar
  margin=$(($(geometry_area "$1") * 5 / 100))
  peaks_while_sweeping hover "$DRAG_CONTROL_SECONDS" "" "$@"
  control=${PEAKS[0]}
  other_control=${PEAKS[1]:-}
  bar=$((control + margin))
  peaks_while_sweeping press "$DRAG_SECONDS" "$bar" "$@"
  log "waves in $1: at most $control without the button, ${PEAKS[0]} with it after $SWEPT tenths of a second (needed: more than $bar)"
  [ "${PEAKS[0]}" -gt "$bar" ] || return 1
  [ -z "$other_control" ] && return 0
  log "waves in $2: at most $other_control without the button, ${PEAKS[1]} with it (allowed: up to $((other_control + margin)))"
  [ "${PEAKS[1]}" -le $((other_control + margin)) ]
}
# geometry_area WxH+X+Y: W times H.
geometry_area() {
  local size=${1%%+*}
  echo $((${size%x*} * ${size#*x}))
}
# find_window TITLE: prints the X window ids whose name is exactly TITLE.
find_window() {
  xdotool search --name "^$(printf '%s' "$1" | sed 's/[][\\.^$*+?(){}|]/\\&/g')\$" 2>/dev/null
}

window_shown() { [ -n "$(find_window "$1")" ]; }
window_gone() { [ -z "$(find_window "$1")" ]; }
# wait_for_window TITLE [SECONDS], wait_for_no_window TITLE [SECONDS] (20 s by default)
wait_for_window() { wait_for "${2:-20}" window_shown "$1"; }
wait_for_no_window() { wait_for "${2:-20}" window_gone "$1"; }

# window_geometry TITLE: "X Y W H" of the first window with this exact title.
# A program may replace a window's X window while it sets the window up (a GL
# pixel format, a display change), so an X window just found can be gone a
# moment later: the first one that answers counts, tried for 10 s.
window_geometry() { wait_for 10 answering_geometry "$1" && echo "$GEOMETRY"; }
answering_geometry() {
  local id
  for id in $(find_window "$1"); do
    GEOMETRY=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | awk -F= '
      $1=="X"{x=$2} $1=="Y"{y=$2} $1=="WIDTH"{w=$2} $1=="HEIGHT"{h=$2}
      END{if (w != "") print x, y, w, h}')
    [ -n "$GEOMETRY" ] && return 0
  done
  return 1
}

# program_pids PATTERN: PIDs of processes whose command line matches and that
# run on this display, one a line.
program_pids() {
  local pid
  for pid in $(pgrep -f "$1"); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "DISPLAY=$DISPLAY" && echo "$pid"
  done
}

# cpu_ticks PID: the CPU time the process has used, all its threads, in clock ticks.
cpu_ticks() {
  cat /proc/"$1"/task/*/stat 2>/dev/null | awk '{ sub(/^.*\) /, ""); t += $12 + $13 } END { print t + 0 }'
}
