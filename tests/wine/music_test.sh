#!/usr/bin/env bash
# Background music of a saver run, heard through an ALSA file sink: a WAV
# choice loops through the sound player, an MP3 choice plays through MCI and
# starts again when it has ended. While nobody can hear it (the display off,
# the machine suspending, the session locked) it is held, and it plays on
# afterwards. The settings file is written the way the
# host reads it, in code page 932 (the host runs in a Japanese locale here).
source "$(dirname "$0")/harness.sh"
harness_init music

RUN_DIR="$WINEPREFIX/drive_c/music_run"
MUSIC_DIR="$WORK/my music"   # a blank in the path: MCI gets it quoted
SINK="$ART/sink.raw"
rm -rf "$RUN_DIR"
mkdir -p "$RUN_DIR" "$MUSIC_DIR"
cp "$BIN/Ripplume.scr" "$BIN/Ripplume.dll" "$RUN_DIR/"

cat >"$ART/asound.conf" <<CONF
pcm.!default { type file; slave.pcm "null"; file "$SINK"; format "raw" }
CONF
export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$ART/asound.conf"
{ export LC_ALL=ja_JP.UTF-8; } 2>/dev/null

sox -n -r 44100 -c 2 -b 16 "$MUSIC_DIR/tone.wav" synth 1 sine 440 2>/dev/null
sox -n -r 44100 -c 2 -b 16 "$ART/short.wav" synth 1.5 sine 660 2>/dev/null
lame --quiet "$ART/short.wav" "$MUSIC_DIR/Loop.Mp3"
sox -n -r 44100 -c 2 -b 16 "$ART/long.wav" synth 40 sine 550 2>/dev/null
lame --quiet "$ART/long.wav" "$MUSIC_DIR/Long.mp3"

# write_settings KIND FILE: Ripplume.ini with the keys BGM区分, BGMﾘﾋﾟｰﾄ and
# BGMﾌｧｲﾙ spelled in code page 932.
write_settings() {
  printf '[Section]\r\nBGM\x8b\xe6\x95\xaa= %s\r\nBGM\xd8\xcb\xdf\xb0\xc4= 0\r\nBGM\xcc\xa7\xb2\xd9=%s\r\n' \
    "$1" "$2" >"$RUN_DIR/Ripplume.ini"
}

sink_size() { stat -c %s "$SINK" 2>/dev/null || echo 0; }

# count_plays FILE: the sink holds 10 ms blocks (stereo 32-bit float) of
# sound or of silence written as zeros. Within one play the sound comes in
# bursts a fraction of a second apart (Wine writes faster than real time);
# between two plays of the file lie well over a second of zeros.
count_plays() {
  od -An -v -tx8 -w3528 "$1" | awk '
    /[1-9a-f]/ { if (quiet >= 150 || plays == 0) plays++; quiet = 0; next }
    { quiet++ }
    END { print plays + 0 }'
}

# sound_blocks FILE: how many of those 10 ms blocks hold sound.
sound_blocks() {
  od -An -v -tx8 -w3528 "$1" | grep -c '[1-9a-f]'
}

# sound_now: how many blocks of sound the sink holds now.
sound_now() { cp "$SINK" "$ART/now_sink.raw" 2>/dev/null && sound_blocks "$ART/now_sink.raw"; }
sound_is() { [ "$(sound_now)" = "$1" ]; }
# falls_silent: no new sound for 3 s (what the sink had queued may still come first).
falls_silent() {
  local blocks
  blocks=$(sound_now)
  stays_so 3 sound_is "$blocks"
}
# held_and_back LABEL OFF ON: the host's notice OFF silences the music, ON brings it back.
held_and_back() {
  check "$1: the $2 notice is delivered" wine "$BIN/wintool.exe" notice Ripplume_Main "$2"
  check "$1: the music falls silent" wait_for 15 falls_silent
  check "$1: the $3 notice is delivered" wine "$BIN/wintool.exe" notice Ripplume_Main "$3"
  check "$1: the music plays again" wait_for 15 sound_past "$(sound_now)"
}

# WAV: looped by the sound player for as long as the run lasts.
rm -f "$SINK"
write_settings 2 'C:\ripplume_tests\my music\tone.wav'
wine_start WAV "$RUN_DIR/Ripplume.scr" /s
check "WAV run: renderer up" wait_for_window Ripplume_VC 30
sink_size_is() { [ "$(sink_size)" = "$1" ]; }
# sound_past BLOCKS: the sink holds more than that many blocks of sound.
sound_past() { cp "$SINK" "$ART/wav_sink.raw" 2>/dev/null && [ "$(sound_blocks "$ART/wav_sink.raw")" -gt "$1" ]; }
check "the WAV file is played" wait_for 15 sound_past 0
check "it keeps playing, looped, past its own length of one second" wait_for 15 sound_past 150
log "WAV sink: $(sink_size) bytes, $(sound_blocks "$ART/wav_sink.raw") blocks of 10 ms with sound"
held_and_back "WAV run, suspended" suspend resume
check "WAV run: the host ends with the renderer" end_run "$WAV"
after=$(sink_size)
check "the sound stops with the run" stays_so 1.5 sink_size_is "$after"

# MP3: played through MCI, started again from the beginning once it ends.
rm -f "$SINK"
write_settings 2 'C:\ripplume_tests\my music\Loop.Mp3'
wine_start MP3 "$RUN_DIR/Ripplume.scr" /s
check "MP3 run: renderer up" wait_for_window Ripplume_VC 30
# plays_at_least N: the sink holds N separate plays of the file.
plays_at_least() { cp "$SINK" "$ART/mp3_sink.raw" 2>/dev/null && [ "$(count_plays "$ART/mp3_sink.raw")" -ge "$1" ]; }
check "the MP3 file is played" wait_for 15 plays_at_least 1
check "it starts again after it has ended (a 1.5 s file)" wait_for 20 plays_at_least 2
log "MP3 sink: $(sink_size) bytes, $(count_plays "$ART/mp3_sink.raw") separate plays"
check "MP3 run: the host ends with the renderer" end_run "$MP3"

# A long MP3 file is paused where it is, and resumed.
rm -f "$SINK"
write_settings 2 'C:\ripplume_tests\my music\Long.mp3'
wine_start LONG "$RUN_DIR/Ripplume.scr" /s
check "long MP3 run: renderer up" wait_for_window Ripplume_VC 30
check "the long MP3 file is played" wait_for 15 sound_past 0
held_and_back "display off" display-off display-on
held_and_back "locked" lock unlock
check "long MP3 run: the host ends with the renderer" end_run "$LONG"

# Another ending plays nothing.
rm -f "$SINK"
cp "$MUSIC_DIR/tone.wav" "$MUSIC_DIR/tone.wma"
write_settings 2 'C:\ripplume_tests\my music\tone.wma'
wine_start WMA "$RUN_DIR/Ripplume.scr" /s
check "WMA run: renderer up" wait_for_window Ripplume_VC 30
check "a .wma file plays nothing" stays_so 2 sink_size_is 0
end_run "$WMA"

finish_checks
