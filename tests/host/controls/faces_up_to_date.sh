#!/bin/sh
# faces_up_to_date.sh GENERATOR FACES_DIR: the kept face pictures are exactly
# what the generator draws now.
set -eu
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$1" "$out"
for f in "$out"/*.bmp; do
  cmp "$f" "$2/$(basename "$f")"
done
test "$(ls "$out" | wc -l)" -eq 6
