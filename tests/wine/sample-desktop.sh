#!/usr/bin/env bash
# sample-desktop.sh KIND OUT.png: draws a desktop-like test picture, 1024 x 768.
#   desktop  a teal wallpaper with a red window at the left and a blue one at the right
#   grey     one flat grey, so that only the water's motion changes what is seen
set -eu
kind=$1 out=$2
case "$kind" in
  desktop)
    convert -size 1024x768 gradient:'#1c6e7d-#0b3040' \
      -fill '#d02020' -draw 'rectangle 60,80 420,420' \
      -fill '#f0f0f0' -draw 'rectangle 60,80 420,110' \
      -fill '#2040d0' -draw 'rectangle 600,300 980,700' \
      -fill '#f0f0f0' -draw 'rectangle 600,300 980,330' \
      -fill '#f0d020' -draw 'circle 120,640 160,640' \
      -fill '#c0c0c0' -draw 'rectangle 0,736 1023,767' \
      -type TrueColor "$out"
    ;;
  grey)
    convert -size 1024x768 xc:'#606060' -type TrueColor "$out"
    ;;
  *)
    echo "unknown picture $kind" >&2
    exit 2
    ;;
esac
