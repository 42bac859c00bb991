#!/usr/bin/env bash
# A run on a desktop that is not the user's own, as Windows runs the saver on
# its secure desktop when it asks for the password on resume: that desktop
# shows none of the user's windows, so the host takes the user's wallpaper
# instead of a black screen, laid out in the desktop's style over the desktop
# colour, mirrored and handed over as a capture is. Wine's explorer runs the
# host on a desktop named "Screen-saver". Each picture is compared with one
# ImageMagick makes from the same file.
source "$(dirname "$0")/harness.sh"
harness_init saver_secure_desktop
# The renderer deletes the picture once read; these checks compare it with
# the screen, so it keeps it, and the host's own deletion at the run's end is
# what is checked here.
export RIPPLUME_TEST_KEEP_PICTURE=1

DESKTOP_KEY='HKCU\Control Panel\Desktop'
COLORS_KEY='HKCU\Control Panel\Colors'
saved=()
for value in "$DESKTOP_KEY|Wallpaper" "$DESKTOP_KEY|WallpaperStyle" "$DESKTOP_KEY|TileWallpaper" "$COLORS_KEY|Background"; do
  saved+=("$value|$(reg_value "${value%|*}" "${value#*|}")")
done
# The prefix is shared with other tests: put the user's desktop settings back.
restore_desktop() {
  local entry key name data
  for entry in "${saved[@]}"; do
    IFS='|' read -r key name data <<<"$entry"
    if [ -n "$data" ]; then
      wine reg add "$key" /v "$name" /d "$data" /f >/dev/null 2>&1
    else
      wine reg delete "$key" /v "$name" /f >/dev/null 2>&1
    fi
  done
}
trap 'restore_desktop; harness_cleanup' EXIT

COLOUR='10,120,40'
wine reg add "$COLORS_KEY" /v Background /d "${COLOUR//,/ }" /f >/dev/null 2>&1

renderer_running() { [ "$(renderer_count)" -ge 1 ]; }
# run_on_secure_desktop LABEL FILE STYLE TILE: the hand-over picture of a run
# on the "Screen-saver" desktop with that wallpaper, as $ART/LABEL.png.
run_on_secure_desktop() {
  local label=$1
  wine reg add "$DESKTOP_KEY" /v Wallpaper /d "$(winepath -w "$2" 2>/dev/null | tr -d '\r')" /f >/dev/null 2>&1
  wine reg add "$DESKTOP_KEY" /v WallpaperStyle /d "$3" /f >/dev/null 2>&1
  wine reg add "$DESKTOP_KEY" /v TileWallpaper /d "$4" /f >/dev/null 2>&1
  wineserver -k; wineserver -w  # the desktop colour is read as programs start
  rm -f "$PICTURE"
  wine_start "DESKTOP_$label" explorer /desktop=Screen-saver,1024x768 "$BIN/Ripplume.scr" /s
  check "$label: the run hands a picture over" wait_for 30 test -s "$PICTURE"
  convert "$PICTURE" "$ART/$label.png"
  check "$label: and starts the renderer" wait_for 30 renderer_running
  wineserver -k; wineserver -w
}

# rmse A B: the normalised root-mean-square difference of two pictures (0 to 1).
rmse() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed 's/.*(\(.*\))/\1/'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a + 0 < b + 0) }'; }

# same_picture LABEL EXPECTED [MOST-RMSE]: the hand-over picture is the
# expected one mirrored, pixel for pixel, or within the RMSE given.
same_picture() {
  local label=$1 most=${3:-}
  convert "$2" -flop -depth 8 "$ART/${label}_expected.png"
  if [ -z "$most" ]; then
    [ "$(compare -metric AE "$ART/$label.png" "$ART/${label}_expected.png" null: 2>&1)" = 0 ]
  else
    below "$(rmse "$ART/$label.png" "$ART/${label}_expected.png")" "$most"
  fi
}

# A PNG smaller than the screen, centred on the desktop colour, and tiled.
convert -size 300x200 gradient:'#ff0000-#0000ff' -fill white -draw 'rectangle 10,10 60,40' -depth 8 "$ART/small.png"
run_on_secure_desktop centred "$ART/small.png" 0 0
convert -size 1024x768 "xc:rgb($COLOUR)" "$ART/small.png" -geometry +362+284 -composite "$ART/centred_screen.png"
check "centred: the PNG in the middle of the desktop colour, mirrored" same_picture centred "$ART/centred_screen.png"
run_on_secure_desktop tiled "$ART/small.png" 0 1
convert -size 1024x768 tile:"$ART/small.png" "$ART/tiled_screen.png"
check "tiled: the PNG from the top-left corner on, mirrored" same_picture tiled "$ART/tiled_screen.png"

# A wide JPEG filling the screen: scaled to 1365 x 768, its sides cut.
convert -size 1600x900 gradient:'#f0e0a0-#203080' -fill '#d02020' -draw 'rectangle 100,100 500,800' \
  -fill white -draw 'rectangle 1100,0 1180,899' -quality 95 "$ART/wide.jpg"
run_on_secure_desktop filled "$ART/wide.jpg" 10 0
convert "$ART/wide.jpg" -resize '1365x768!' -crop 1024x768+170+0 +repage "$ART/filled_screen.png"
check "filled: the JPEG filling the screen, mirrored (within scaling differences)" \
  same_picture filled "$ART/filled_screen.png" 0.03
# The comparison sees the layout: the same JPEG stretched is far from it.
convert "$ART/wide.jpg" -resize '1024x768!' -flop "$ART/stretched_expected.png"
log "filled: RMSE $(rmse "$ART/filled.png" "$ART/filled_expected.png") to the filled JPEG, $(rmse "$ART/filled.png" "$ART/stretched_expected.png") to the stretched one"
check "filled: and not the JPEG stretched" below 0.03 "$(rmse "$ART/filled.png" "$ART/stretched_expected.png")"

# The same picture as a 16-bit PNG, half transparent: read a few rows at a
# time and shrunk as it is read, its alpha dropped as WIC drops it.
convert "$ART/wide.jpg" -alpha set -channel A -evaluate set 50% +channel -depth 16 PNG64:"$ART/wide.png"
run_on_secure_desktop filled_png "$ART/wide.png" 10 0
check "filled_png: the PNG filling the screen, mirrored (within scaling differences)" \
  same_picture filled_png "$ART/filled_screen.png" 0.03
log "filled_png: RMSE $(rmse "$ART/filled_png.png" "$ART/filled_png_expected.png")"

 of it is there: the copy, laid
# out as the file was.
THEMES="$(winepath -u "$(wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r\n')" 2>/dev/null)/Microsoft/Windows/Themes"
mkdir -p "$THEMES"
cp "$ART/wide.jpg" "$THEMES/TranscodedWallpaper"
run_on_secure_desktop cached "$ART/gone.jpg" 10 0
check "cached: the cached copy filling the screen, mirrored (within scaling differences)" \
  same_picture cached "$ART/filled_screen.png" 0.03
rm -f "$THEMES/TranscodedWallpaper"

# No file where the wallpaper should be, and no copy: the desktop colour alone.
run_on_secure_desktop missing "$ART/gone.png" 10 0
check "missing: the desktop colour alone ($(convert "$ART/missing.png" -format '%k colours, %[pixel:p{0,0}]' info:))" \
  test "$(convert "$ART/missing.png" -format '%k %[fx:round(255*p{5,5}.r)],%[fx:round(255*p{5,5}.g)],%[fx:round(255*p{5,5}.b)]' info:)" = "1 $COLOUR"

finish_checks
