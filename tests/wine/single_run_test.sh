#!/usr/bin/env bash
# Exactly one saver run at a time: a host that finds the hosts' mutex taken
# ends at once, and two runs started together give one renderer, not two.
source "$(dirname "$0")/harness.sh"
harness_init single_run

# The mutex alone keeps a run from starting, before any window could tell.
check "a test program holds the hosts' mutex" hold HOLDER hold-mutex Ripplume_Host 12
wine_start BLOCKED "$BIN/Ripplume.scr" /s
sleep 6
check "a run that finds the mutex taken starts no renderer" test "$(renderer_count)" = 0
check "... and leaves no host behind" sh -c "! wine '$BIN/wintool.exe' exists Ripplume_Main"
wait "$HOLDER" 2>/dev/null  # the mutex is free again

# Two runs started at the same moment, a few times over.
for trial in 1 2 3; do
  wine_start FIRST "$BIN/Ripplume.scr" /s
  wine_start SECOND "$BIN/Ripplume.scr" /s
  check "trial $trial: a renderer starts" wait_for_window Ripplume_VC 30
  sleep 4
  check "trial $trial: exactly one renderer runs ($(renderer_count))" test "$(renderer_count)" = 1
  check "trial $trial: Escape once ends the run" escape_renderer
  sleep 2
  check "trial $trial: nothing is left running" test "$(renderer_count)" = 0
  check "trial $trial: no host is left" sh -c "! wine '$BIN/wintool.exe' exists Ripplume_Main"
done

harness_finish
