#!/usr/bin/env bash
# Background music of a saver run, heard through an ALSA file sink: a WAV
# choice loops through the sound player, an MP3 choice plays through MCI and
# starts again when it has ended. The settings file is written the way the
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

# WAV: looped by the sound player for as long as the run lasts.
rm -f "$SINK"
write_settings 2 'C:\ripplume_tests\my music\tone.wav'
wine_start WAV "$RUN_DIR/Ripplume.scr" /s
check "WAV run: renderer up" wait_for_window Ripplume_VC 30
sleep 4
cp "$SINK" "$ART/wav_sink.raw"
sound=$(sound_blocks "$ART/wav_sink.raw")
log "WAV sink: $(sink_size) bytes, $sound blocks of 10 ms with sound"
check "the WAV file is played" test "$sound" -gt 0
check "it keeps playing, looped, past its own length of one second" test "$sound" -gt 150
check "WAV run: the host ends with the renderer" end_run "$WAV"
after=$(sink_size)
sleep 1
check "the sound stops with the run" test "$(sink_size)" = "$after"

# MP3: played through MCI, started again from the beginning once it ends.
rm -f "$SINK"
write_settings 2 'C:\ripplume_tests\my music\Loop.Mp3'
wine_start MP3 "$RUN_DIR/Ripplume.scr" /s
check "MP3 run: renderer up" wait_for_window Ripplume_VC 30
sleep 7
cp "$SINK" "$ART/mp3_sink.raw"
plays=$(count_plays "$ART/mp3_sink.raw")
log "MP3 sink: $(sink_size) bytes, $plays separate plays"
check "the MP3 file is played" test "$plays" -ge 1
check "it starts again after it has ended ($plays plays in 7 s of a 1.5 s file)" test "$plays" -ge 2
check "MP3 run: the host ends with the renderer" end_run "$MP3"

# Another ending plays nothing.
rm -f "$SINK"
cp "$MUSIC_DIR/tone.wav" "$MUSIC_DIR/tone.wma"
write_settings 2 'C:\ripplume_tests\my music\tone.wma'
wine_start WMA "$RUN_DIR/Ripplume.scr" /s
check "WMA run: renderer up" wait_for_window Ripplume_VC 30
sleep 2
check "a .wma file plays nothing" test "$(sink_size)" = 0
end_run "$WMA"

finish_checks
