#!/usr/bin/env bash
# Checks of the water on several monitors, for tests that paint each monitor
# in two colours of its own: red and green, or blue and yellow.

# colours FILE GEOMETRY: how many pixels of that part are red, green, blue and yellow.
colours() {
  convert "$1" -crop "$2" +repage -depth 8 rgb:- | od -An -v -tu1 -w3 | awk '
    $1 > 150 && $2 < 90 && $3 < 90 { r++ } $2 > 150 && $1 < 90 && $3 < 90 { g++ }
    $3 > 150 && $1 < 90 && $2 < 120 { b++ } $1 > 180 && $2 > 160 && $3 < 120 { y++ }
    END { print r + 0, g + 0, b + 0, y + 0 }'
}

# shows_own_colours FILE RED_GREEN_PART BLUE_YELLOW_PART: each part shows its
# own two colours, plenty of each, and hardly a pixel of the other's (edges
# blend a few). Leaves the counts in pr pg pb py (first part) and sr sg sb sy.
shows_own_colours() {
  read -r pr pg pb py < <(colours "$1" "$2")
  read -r sr sg sb sy < <(colours "$1" "$3")
  [ "$pr" -gt 5000 ] && [ "$pg" -gt 5000 ] && [ $((pb + py)) -lt $(((pr + pg) / 50)) ] &&
    [ "$sb" -gt 5000 ] && [ "$sy" -gt 5000 ] && [ $((sr + sg)) -lt $(((sb + sy) / 50)) ]
}

# water_to_the_edges FILE GEOMETRY: the band of the screen in GEOMETRY holds no
# black (nothing drawn) and none of the desktop behind (magenta): water from
# edge to edge.
water_to_the_edges() {
  convert "$1" -crop "$2" +repage -depth 8 rgb:- | od -An -v -tu1 -w3 | awk '
    $1 + $2 + $3 < 30 || ($1 > 240 && $2 < 20 && $3 > 240) { bad++ } END { exit bad > 0 }'
}
