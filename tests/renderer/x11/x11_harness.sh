# Shared by the native X11 tests: a private Xvfb display, the checks, waits
# and screenshots of tests/lib, and colour measures. Source it, then call
# x11_init ART.
set -u
X11_LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../lib" && pwd)
source "$X11_LIB/checks.sh"
source "$X11_LIB/x_display.sh"
PIDS=()  # programs the test started, ended with it

x11_cleanup() {
  local pid
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  stop_x_servers
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
  start_x_server Xvfb ":@N" "$@" -nolisten tcp -noreset || return 1
  NEW_DISPLAY=$X_DISPLAY
}

# shot NAME [DISPLAY]: a screenshot of the (or that) screen; prints its file.
shot() { DISPLAY=${2:-$DISPLAY} screenshot "$1"; }
# ends_within SECONDS PID: the process ends in time; EXIT_CODE gets its code.
ends_within() { wait_exit "$2" "$1"; }
# root_picture FILE [DISPLAY]: the picture on the root window, as a desktop,
# once the screen shows it.
root_picture() { DISPLAY=${2:-$DISPLAY} show_on_root "$1"; }
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
