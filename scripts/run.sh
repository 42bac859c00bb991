#!/usr/bin/env bash
# Builds Ripplume and runs the screen saver under Wine: on your X display when
# there is one (press Escape to end it), otherwise on a virtual display with a
# sample desktop, where it is ended after a short while. Screenshots are saved
# in build/run-screenshots/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RIPPLUME_BUILD:-$root/build}
seconds=${RIPPLUME_RUN_SECONDS:-12}

bash "$root/scripts/install-deps.sh"
bin=$(bash "$root/scripts/build-windows.sh" "$build")

# The displays, waits, screenshots and Wine set-up the tests use.
for part in checks machine x_display wine; do source "$root/tests/lib/$part.sh"; done

ART=$build/run-screenshots
mkdir -p "$ART"
export WINEPREFIX=$build/wine-run WINEDEBUG=-all
# Under set -e a failing command here (a server that has already gone) would
# turn a good run's exit code into 1, so every step is guarded.
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  stop_x_servers || true
}
trap cleanup EXIT

virtual=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  virtual=1
  start_xvfb || { echo "could not start Xvfb" >&2; exit 1; }
fi
prepare_wine_prefix "$WINEPREFIX"
wine_japanese_fonts
if [ "$virtual" -eq 1 ]; then
  # No window manager on the virtual display: Wine draws the window frames itself.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
fi
# The renderer takes its picture from the user's %LOCALAPPDATA%\Ripplume; the
# preview box reports through a folder of this script's own.
handover="$(winepath -u "$(wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r\n')" 2>/dev/null)/Ripplume"
work=$WINEPREFIX/drive_c/ripplume_run
mkdir -p "$handover" "$work"

if [ "$virtual" -eq 1 ]; then
  bash "$root/tests/wine/sample-desktop.sh" desktop "$ART/desktop.png"
  show_on_root "$ART/desktop.png"
fi

if [ -f "$bin/Ripplume.scr" ]; then
  echo "Starting the saver (Ripplume.scr /s)"
  wine "$bin/Ripplume.scr" /s >/dev/null 2>&1 &
else
  echo "Starting the renderer on the sample desktop picture"
  convert "$ART/desktop.png" -type TrueColor BMP3:"$handover/Ripplume.bmp"
  wine "$bin/Ripplume.dll" >/dev/null 2>&1 &
fi
saver=$!

wait_for_window Ripplume_VC 30 || echo "The saver's window did not appear." >&2
# The first frames: the screen shows neither the desktop it started from nor
# a window not yet drawn (black).
water_drawn() {
  ! screen_shows "$ART/desktop.png" && [ "$(mean_of "$(screenshot water-1)")" -gt 20 ]
}
[ "$virtual" -eq 0 ] || wait_for 10 water_drawn || true
if [ "$virtual" -eq 1 ]; then
  # Stir the water the way a user would: drag with the left button held.
  xdotool mousemove 200 300 mousedown 1
  for step in $(seq 1 30); do xdotool mousemove $((200 + step * 20)) $((300 + step * 8)); sleep 0.03; done
  xdotool mouseup 1
  sleep 1  # the ripples spread a little before the picture is taken
  screenshot water-2 >/dev/null
  sleep "$seconds"
  screenshot water-3 >/dev/null
  xdotool keydown Escape; sleep 0.4; xdotool keyup Escape
else
  echo "Press Escape on the saver to end it."
fi
wait "$saver" || true

if [ "$virtual" -eq 1 ]; then
  echo "Opening the settings dialog (Ripplume.scr /c)"
  wine "$bin/Ripplume.scr" /c >/dev/null 2>&1 &
  dialog=$!
  wait_for_window '<Ripplume>' 30 || echo "The settings dialog did not appear." >&2
  xdotool mousemove 5 5
  wait_settled 1024x768+0+0 || true
  screenshot dialog >/dev/null
  wine "$bin/wintool.exe" close "<Ripplume>" >/dev/null 2>&1 || true
  wait "$dialog" || true

  if [ -f "$bin/preview_box.exe" ]; then
    echo "Showing the preview in a 152 x 112 box"
    rm -f "$work/preview_box.txt.quit"
    wine "$bin/preview_box.exe" inproc 152 112 'C:\ripplume_run\preview_box.txt' >/dev/null 2>&1 &
    box=$!
    wait_for 20 test -s "$work/preview_box.txt.report" || true
    wait_settled 200x160+80+80 || true
    import -window root -crop 200x160+80+80 +repage "$ART/preview.png"
    : >"$work/preview_box.txt.quit"
    wait "$box" || true
  fi
fi
echo "Screenshots: $ART"
