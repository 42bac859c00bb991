# Shared by the native X11 tests: a private Xvfb display, checks that count
# failures, screenshots and colour measures. Source it, then call x11_init ART.
set -u
FAILURES=0
PIDS=()
log() { echo "[$(date +%T)] $*"; }
check() {
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; FAILURES=$((FAILURES + 1)); fi
}
x11_cleanup() {
  local pid
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
}

# x11_init ARTIFACTS [XVFB-SCREEN-OPTIONS...]: a fresh artefact folder and a
# private display, by default of one 1024x768 screen.
x11_init() {
  ART=$1
  shift
  local screens=("$@")
  [ ${#screens[@]} -gt 0 ] || screens=(-screen 0 1024x768x24)
  rm -rf "$ART"
  mkdir -p "$ART"
  trap x11_cleanup EXIT
  start_display "${screens[@]}" || { echo "could not start Xvfb"; exit 1; }
  export DISPLAY=$NEW_DISPLAY
}

# start_display [XVFB-OPTIONS...]: a private Xvfb display; its name in NEW_DISPLAY.
start_display() {
  local number
  for number in $(seq 160 200); do
    [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" "$@" -nolisten tcp -noreset >/dev/null 2>&1 &
    PIDS+=("$!")
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.1; done
    NEW_DISPLAY=":$number"
    DISPLAY=$NEW_DISPLAY xdpyinfo >/dev/null 2>&1 && return 0
  done
  return 1
}

# x11_finish: the summary line and the exit code.
x11_finish() {
  if [ "$FAILURES" -eq 0 ]; then echo PASSED; exit 0; fi
  echo "$FAILURES check(s) failed"
  exit 1
}

# shot NAME [DISPLAY]: a screenshot of the (or that) screen; prints its file.
shot() { DISPLAY=${2:-$DISPLAY} import -window root "$ART/$1.png" >/dev/null 2>&1; echo "$ART/$1.png"; }
# ends_within SECONDS PID: the process ends in time (to a tenth of a second);
# EXIT_CODE gets its code.
ends_within() {
  local i
  for i in $(seq "$(awk "BEGIN { print int($1 * 10 + 0.5) }")"); do
    if ! kill -0 "$2" 2>/dev/null; then
      wait "$2"
      EXIT_CODE=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}
# wait_for SECONDS COMMAND...: the command succeeds within that time.
wait_for() {
  local i
  for i in $(seq $(($1 * 10))); do "${@:2}" && return 0; sleep 0.1; done
  return 1
}
# root_picture FILE [DISPLAY]: the picture on the root window, as a desktop.
root_picture() {
  DISPLAY=${2:-$DISPLAY} display -window root "$1" >/dev/null 2>&1 &
  PIDS+=("$!")
  sleep 1.5
}
# mean_in FILE GEOMETRY: "R G B" means of a part of a screenshot.
mean_in() {
  convert "$1" -crop "$2" +repage -resize 1x1\! -depth 8 rgb:- | od -An -tu1 | awk '{print $1, $2, $3}'
}
# has_colour FILE COLOUR: some pixels of that colour (within 8%) are on the screenshot.
has_colour() {
  convert "$1" -fuzz 8% -fill black +opaque "$2" -format '%[fx:mean>0.001]' info: | grep -q 1
}
# a_desktop FILE: a known desktop: a blue gradient, a red band at the left
# edge and a yellow box.
a_desktop() {
  convert -size 1024x768 gradient:'#103060-#60a0e0' \
    -fill '#e03020' -draw 'rectangle 0,0 120,767' \
    -fill '#f0e040' -draw 'rectangle 300,100 520,300' "$1"
}
