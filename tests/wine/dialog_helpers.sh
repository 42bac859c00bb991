# The settings dialog seen through dialog_probe.exe, for the tests that open
# it. Source it after harness.sh.
#   dialog_shown [SECONDS]      waits until "<Ripplume>" shows and has painted;
#                               sets CX CY CW CH (inner area) and PX PY PW PH (panel)
#   dialog_field NAME           a line of the probe's state, read by dialog_state
#   control_rect NAME           "left top right bottom" of set, cancel, file or repeat
#   click_at X Y [BUTTON]       a click that arrives with a move, as a hand's does
#   click_control NAME          a click in the middle of a control
#   file_option_chosen          the chosen mark is on the file option's row
#   ok_closes_dialog            clicks OK until the dialog goes (15 s at most)

dialog_state() { wine "$BIN/dialog_probe.exe" state 2>/dev/null | tr -d '\r' >"$ART/state.txt"; test "${PIPESTATUS[0]}" -eq 0; }
dialog_field() { awk -v k="$1" '$1 == k { $1 = ""; sub(/^ /, ""); print; exit }' "$ART/state.txt"; }
dialog_visible() { dialog_state && [ "$(dialog_field visible)" = 1 ]; }

dialog_shown() {
  wait_for_window "<Ripplume>" "${1:-30}" && wait_for 10 dialog_visible || return 1
  read -r CX CY CW CH <<<"$(dialog_field client)"
  read -r PX PY PW PH <<<"$(dialog_field panel)"
  wait_settled "${CW}x${CH}+$CX+$CY" || log "the dialog never settled after its first paint"
}

dialog_layout() { wine "$BIN/dialog_probe.exe" layout 2>/dev/null | tr -d '\r' >"$ART/layout.txt"; }
control_rect() {
  dialog_layout
  awk -v k="$1" '$1 == "rect" && $2 == k { print $3, $4, $5, $6; exit }' "$ART/layout.txt"
}

click_at() {
  xdotool mousemove $(($1 + 3)) $(($2 + 2)) sleep 0.15 mousemove "$1" "$2" sleep 0.2 click "${3:-1}"
}
click_control() {
  local l t r b
  read -r l t r b <<<"$(control_rect "$1")"
  [ -n "$b" ] || { log "no control $1"; return 1; }
  click_at $((CX + (l + r) / 2)) $((CY + (t + b) / 2))
}

# A click that comes as a button's own request returns (the chooser records
# its request and answers at once) can reach the dialog before the button has
# let the mouse go, and is lost: OK is clicked again while the dialog stays.
ok_clicked_and_closed() { click_control set; wait_for 3 window_gone "<Ripplume>"; }
ok_closes_dialog() { wait_for 15 ok_clicked_and_closed; }

file_option_chosen() {
  dialog_layout
  awk '$1 == "rect" && $2 == "file" { top = $4; bottom = $6 } $1 == "ink" && $2 == "mark" { mt = $4; mb = $6 }
       END { exit !(mt != "" && mt >= top - 4 && mb <= bottom + 4) }' "$ART/layout.txt"
}
