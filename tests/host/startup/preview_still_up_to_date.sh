#!/bin/sh
# preview_still_up_to_date.sh GENERATOR STILL: the kept preview still is
# exactly what the generator draws now.
set -eu
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$1" "$out/still.bmp" >/dev/null
cmp "$out/still.bmp" "$2"
