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

shots=$build/run-screenshots
mkdir -p "$shots"
export WINEPREFIX=$build/wine-run WINEDEBUG=-all
pids=()
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  for pid in "${pids[@]}"; do kill "$pid" >/dev/null 2>&1 || true; done
}
trap cleanup EXIT

virtual=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  virtual=1
  display=:77
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  pids+=("$!")
  export DISPLAY=$display
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
bash "$root/tests/wine/prepare-prefix.sh" "$WINEPREFIX"
# Japanese captions: IPA Gothic stands in for the Windows fonts the dialog asks for.
for face in "ＭＳ Ｐゴシック" "MS PGothic" "MS UI Gothic"; do
  wine reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes" \
    /v "$face" /d IPAPGothic /f >/dev/null 2>&1
done
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
  bash "$root/tests/wine/sample-desktop.sh" desktop "$shots/desktop.png"
  display -window root "$shots/desktop.png" >/dev/null 2>&1 &
  pids+=("$!")
  sleep 1
fi

if [ -f "$bin/Ripplume.scr" ]; then
  echo "Starting the saver (Ripplume.scr /s)"
  wine "$bin/Ripplume.scr" /s >/dev/null 2>&1 &
else
  echo "Starting the renderer on the sample desktop picture"
  convert "$shots/desktop.png" -type TrueColor BMP3:"$handover/Ripplume.bmp"
  wine "$bin/Ripplume.dll" >/dev/null 2>&1 &
fi
saver=$!

for _ in $(seq 300); do
  xdotool search --name '^Ripplume_VC$' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 2
import -window root "$shots/water-1.png"
if [ "$virtual" -eq 1 ]; then
  # Stir the water the way a user would: drag with the left button held.
  xdotool mousemove 200 300 mousedown 1
  for step in $(seq 1 30); do xdotool mousemove $((200 + step * 20)) $((300 + step * 8)); sleep 0.03; done
  xdotool mouseup 1
  sleep 1
  import -window root "$shots/water-2.png"
  sleep "$seconds"
  import -window root "$shots/water-3.png"
  xdotool keydown Escape; sleep 0.4; xdotool keyup Escape
else
  echo "Press Escape on the saver to end it."
fi
wait "$saver" || true

if [ "$virtual" -eq 1 ]; then
  echo "Opening the settings dialog (Ripplume.scr /c)"
  wine "$bin/Ripplume.scr" /c >/dev/null 2>&1 &
  dialog=$!
  for _ in $(seq 300); do
    xdotool search --name '^<Ripplume>$' >/dev/null 2>&1 && break
    sleep 0.1
  done
  xdotool mousemove 5 5
  sleep 2
  import -window root "$shots/dialog.png"
  wine "$bin/wintool.exe" close "<Ripplume>" >/dev/null 2>&1 || true
  wait "$dialog" || true

  if [ -f "$bin/preview_box.exe" ]; then
    echo "Showing the preview in a 152 x 112 box"
    rm -f "$work/preview_box.txt.quit"
    wine "$bin/preview_box.exe" inproc 152 112 'C:\ripplume_run\preview_box.txt' >/dev/null 2>&1 &
    box=$!
    sleep 4
    import -window root -crop 200x160+80+80 +repage "$shots/preview.png"
    : >"$work/preview_box.txt.quit"
    wait "$box" || true
  fi
fi
echo "Screenshots: $shots"
