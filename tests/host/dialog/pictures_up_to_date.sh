#!/bin/sh
# pictures_up_to_date.sh GENERATOR PICTURES_DIR: the kept dialog pictures are
# exactly what the generator draws now.
set -eu
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$1" "$out" >/dev/null
for f in "$out"/*; do
  cmp "$f" "$2/$(basename "$f")"
done
test "$(ls "$out" | wc -l)" -eq 5
