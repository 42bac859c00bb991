#!/usr/bin/env bash
# scripts/run.sh as a user runs it on a machine without a display: it builds
# (nothing is left to build by now), runs the saver on a virtual display with
# the sample desktop, opens the dialog and the preview for screenshots, and
# ends with exit code 0.
source "$(dirname "$0")/../lib/checks.sh"
SOURCE=${RIPPLUME_SOURCE:-$(cd "$(dirname "$0")/../.." && pwd)}
BUILD=$(cd "${RIPPLUME_BIN:?RIPPLUME_BIN must name the folder of the built programs}/../.." && pwd)
SCRIPT=$SOURCE/scripts/run.sh
OUT=$BUILD/run-screenshots
rm -rf "$OUT"

status=0
env -u DISPLAY RIPPLUME_BUILD="$BUILD" RIPPLUME_RUN_SECONDS=1 bash "$SCRIPT" >"$BUILD/run-script.log" 2>&1 || status=$?
check "scripts/run.sh ends with exit code 0 after a good run (it gave $status)" test "$status" = 0
for shot in water-3 dialog preview; do
  check "it saved the screenshot $shot" test -s "$OUT/$shot.png"
done
[ "$status" = 0 ] || tail -n 20 "$BUILD/run-script.log"

finish_checks
