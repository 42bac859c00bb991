# Wine for the tests and the scripts. Source it (with checks.sh and machine.sh).
#   prepare_wine_prefix PREFIX [win32|win64]   makes or wakes a prefix
#   wine_japanese_fonts, wine_english_fonts [restore]
#   reg_value KEY NAME
#   swaps TRACE, swaps_stopped TRACE          buffer swaps in a +wgl trace

# prepare_wine_prefix PREFIX [win32|win64]: makes (or wakes) a Wine prefix
# and leaves its server running, so that later wine calls start fast and no
# background Wine process holds a test runner's pipes. A 32-bit prefix where
# 32-bit Wine runs at all: it is smaller and faster, and a 32-bit program's
# display switch fails in a 64-bit one.
prepare_wine_prefix() {
  (
    export WINEPREFIX=$1 WINEDEBUG=-all
    if [ -n "${2:-}" ]; then
      export WINEARCH=$2
    elif runs_32bit_code; then
      export WINEARCH=win32
    fi
    mkdir -p "$(dirname "$1")"
    if [ ! -f "$1/system.reg" ]; then
      wineboot -i >/dev/null 2>&1 </dev/null || true
      wineserver -w >/dev/null 2>&1 </dev/null || true
    fi
    wineserver -p >/dev/null 2>&1 </dev/null || true
    wine cmd /c exit >/dev/null 2>&1 </dev/null || true
    test -f "$1/system.reg"
  )
}

# reg_value KEY NAME: a registry value's data, or nothing when there is none.
reg_value() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    awk -v v="$2" '$1 == v { $1 = ""; $2 = ""; sub(/^  /, ""); print }'
}

# Japanese captions: the IPA Gothic font stands in for the Windows fonts.
wine_japanese_fonts() {
  local face
  for face in "ＭＳ Ｐゴシック" "MS PGothic" "MS UI Gothic" "ＭＳ ゴシック" "MS Gothic"; do
    wine reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes" \
      /v "$face" /d IPAPGothic /f >/dev/null 2>&1
  done
}

# English captions: DejaVu Sans stands in for the system's message font, which
# Wine names "MS Shell Dlg" and maps to a Tahoma it has no file of here.
# Wine writes its own mapping again when a program starts in another code
# page, so call this after that. wine_english_fonts restore puts Wine's own
# mapping back (a prefix may be shared, and Wine's own dialogs use the name).
wine_english_fonts() {
  local face font=DejaVu\ Sans
  [ "${1:-}" = restore ] && font=Tahoma
  for face in "MS Shell Dlg" "MS Shell Dlg 2"; do
    wine reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes" \
      /v "$face" /d "$font" /f >/dev/null 2>&1
  done
}

# swaps TRACE: the buffer swaps in a trace written with WINEDEBUG=trace+wgl.
swaps() { grep -c glxdrv_wglSwapBuffers "$1" || true; }
# swaps_stopped TRACE: no swap over half a second (the program waits instead of drawing).
swaps_stopped() {
  local before
  before=$(swaps "$1")
  sleep 0.5
  [ "$(swaps "$1")" -le "$before" ]
}
