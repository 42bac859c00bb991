#!/usr/bin/env bash
# Exactly one saver run at a time: a host that finds the hosts' mutex taken
# ends at once, and two runs started together give one renderer, not two.
# A run that is over lets the next request on at once, even while it still
# waits for its renderer's process to end.
source "$(dirname "$0")/harness.sh"
harness_init single_run

# The mutex alone keeps a run from starting, before any window could tell.
check "a test program holds the hosts' mutex" hold HOLDER hold-mutex Ripplume_Host 12
wine_start BLOCKED "$BIN/Ripplume.scr" /s
check "a run that finds the mutex taken ends" wait_exit "$BLOCKED" 15
check "... having started no renderer" test "$(renderer_count)" = 0
check "... and leaves no host behind" sh -c "! wine '$BIN/wintool.exe' exists Ripplume_Main"
wait "$HOLDER" 2>/dev/null  # the mutex is free again

# Two runs started at the same moment, a few times over.
one_host_ended() { process_ended "$FIRST" || process_ended "$SECOND"; }
both_hosts_ended() { process_ended "$FIRST" && process_ended "$SECOND"; }
renderer_count_is() { [ "$(renderer_count)" = "$1" ]; }
for trial in 1 2 3; do
  wine_start FIRST "$BIN/Ripplume.scr" /s
  wine_start SECOND "$BIN/Ripplume.scr" /s
  check "trial $trial: a renderer starts" wait_for_window Ripplume_VC 30
  check "trial $trial: one of the two hosts ends at once" wait_for 15 one_host_ended
  check "trial $trial: exactly one renderer runs ($(renderer_count))" stays_so 1 renderer_count_is 1
  check "trial $trial: Escape once ends the run" escape_renderer
  check "trial $trial: the other host ends too" wait_for 15 both_hosts_ended
  check "trial $trial: nothing is left running" wait_for 10 renderer_count_is 0
  check "trial $trial: no host is left" sh -c "! wine '$BIN/wintool.exe' exists Ripplume_Main"
done

# A renderer whose process outlives its window by seconds (a stand-in): once
# its window has gone the run is over, and a settings request started then
# opens the dialog instead of ending silently.
LINGER="$WINEPREFIX/drive_c/ripplume_linger"
rm -rf "$LINGER"
mkdir -p "$LINGER"
cp "$BIN/Ripplume.scr" "$LINGER/"
cp "$BIN/wintool.exe" "$LINGER/Ripplume.dll"
wine_start LINGERING "$LINGER/Ripplume.scr" /s
check "the stand-in renderer's window appears" wait_for 30 wine "$BIN/wintool.exe" exists Ripplume_VC
check "and goes" wait_for 10 sh -c "! wine '$BIN/wintool.exe' exists Ripplume_VC"
check "the run's hidden window goes within a watch tick or two" wait_for 2 sh -c "! wine '$BIN/wintool.exe' exists Ripplume_Main"
wine_start SETTINGS "$LINGER/Ripplume.scr" /c
check "a settings request right after opens the dialog" wait_for_window "<Ripplume>" 15
check "while the renderer's process still runs" test -n "$(pgrep -f 'ripplume_linger.Ripplume\.dll')"
wine "$BIN/wintool.exe" close "<Ripplume>" >/dev/null 2>&1

finish_checks
