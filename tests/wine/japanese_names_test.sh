#!/usr/bin/env bash
# Japanese names end to end, on the Japanese code page 932: the host in a
# folder with a kanji name, a music file C:\音楽\波の音.mp3 chosen in the
# settings dialog's file chooser, stored in the settings file beside the host
# as code page 932 bytes, and played by the next saver run.
source "$(dirname "$0")/harness.sh"
source "$(dirname "$0")/dialog_helpers.sh"
harness_init japanese_names
wine_japanese_fonts
{ export LC_ALL=ja_JP.UTF-8; } 2>/dev/null

RUN="$WINEPREFIX/drive_c/水面の波"
MUSIC_DIR="$WINEPREFIX/drive_c/音楽"
INI="$RUN/Ripplume.ini"
SINK="$ART/sink.raw"
rm -rf "$RUN" "$MUSIC_DIR"
mkdir -p "$RUN" "$MUSIC_DIR"
cp "$BIN/Ripplume.scr" "$BIN/Ripplume.dll" "$RUN/"
sox -n -r 44100 -c 2 -b 16 "$ART/tone.wav" synth 1.5 sine 523 2>/dev/null
lame --quiet "$ART/tone.wav" "$MUSIC_DIR/波の音.mp3"

PROBE="$BIN/dialog_probe.exe"
chooser_open() { wine "$PROBE" chooser >/dev/null 2>&1; }
chooser_focused() { wine "$BIN/wintool.exe" focused "ﾌｧｲﾙを開く" >/dev/null 2>&1; }
typed() { [ "$(wine "$BIN/wintool.exe" focused "ﾌｧｲﾙを開く" 2>/dev/null | tr -d '\r')" = 'C:\音楽\波の音.mp3' ]; }

# ---- the dialog, from the kanji folder ----
wine_start DIALOG "$RUN/Ripplume.scr" /c
check "the dialog opens from a folder with a kanji name" dialog_shown
log "client at $CX,$CY, panel at $PX,$PY"
click_at $((PX + 54)) $((PY + 102))  # the option "MP3、WAV"
check "the file option is chosen" wait_for 5 file_option_chosen
click_control file
check "the file chooser opens" wait_for 10 chooser_open
check "its file name box has the focus" wait_for 10 chooser_focused
check "the kanji path is typed into the chooser" wine "$BIN/wintool.exe" chars "ﾌｧｲﾙを開く" 'C:\音楽\波の音.mp3'
check "and shows in it" wait_for 5 typed
screenshot chooser_typed >/dev/null
check "its Open button is pressed" wine "$BIN/wintool.exe" ok "ﾌｧｲﾙを開く"
check "the chooser closes" wait_for 10 eval '! chooser_open'
# The chooser's picture stays on the screen a few seconds after it has gone:
# wait until the dialog's panel under it is painted again.
repainted() { [ "$(pixel_at "$(screenshot chosen)" $((PX + 300)) $((PY + 140)))" != "255 255 255" ]; }
check "the chooser's window has left the screen" wait_for_no_window "ﾌｧｲﾙを開く" 15
check "the dialog is drawn again" wait_for 10 repainted
wait_settled "${CW}x${CH}+$CX+$CY"
click_control set
check "OK closes the dialog" wait_for_no_window "<Ripplume>" 15

# ---- the settings file beside the host, in code page 932 ----
hex_of() { printf '%s' "$1" | iconv -f UTF-8 -t CP932 | od -An -tx1 -v | tr -d ' \n'; }
ini_hex() { od -An -tx1 -v "$INI" | tr -d ' \n'; }
check "the settings file is written in the kanji folder" test -f "$INI"
check "BGMﾌｧｲﾙ holds C:\\音楽\\波の音.mp3 in code page 932 ($(ini_hex))" \
  sh -c "od -An -tx1 -v '$INI' | tr -d ' \n' | grep -q '$(hex_of 'BGMﾌｧｲﾙ=C:\音楽\波の音.mp3')0d0a'"
check "BGM区分 is 2" sh -c "od -An -tx1 -v '$INI' | tr -d ' \n' | grep -Eq '$(hex_of 'BGM区分=')(20)?320d0a'"

# ---- a saver run plays it ----
cat >"$ART/asound.conf" <<CONF
pcm.!default { type file; slave.pcm "null"; file "$SINK"; format "raw" }
CONF
export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$ART/asound.conf"
wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1  # sound devices are found at start-up
rm -f "$SINK"
wine_start RUN_HOST "$RUN/Ripplume.scr" /s
check "the saver run starts" wait_for_window Ripplume_VC 30
heard() { [ "$(od -An -v -tx8 -w3528 "$SINK" 2>/dev/null | grep -c '[1-9a-f]')" -gt 0 ]; }
check "the music from the kanji path is heard" wait_for 15 heard
log "sink: $(stat -c %s "$SINK" 2>/dev/null || echo 0) bytes"
check "Escape ends the run" escape_renderer

finish_checks
