#!/usr/bin/env bash
# The host's command-line modes: the single-instance guard in every mode,
# the renderer-missing message (run, settings and other letters, not
# preview), /c:<handle> owned by and modal to that window, the silent end of
# unknown letters, and an empty command line opening the settings.
source "$(dirname "$0")/harness.sh"
harness_init host_modes
# The host's texts are Japanese: run it as on a Japanese system.
wine_japanese_fonts
{ export LC_ALL=ja_JP.UTF-8; } 2>/dev/null

MESSAGE_TITLE=Ripplume   # the caption of the host's message box

# A host with its renderer beside it (in a folder with a blank), and one alone.
FULL="$WINEPREFIX/drive_c/modes full"   # a blank: the renderer path is quoted
LONE="$WINEPREFIX/drive_c/modes_lone"
rm -rf "$FULL" "$LONE"
mkdir -p "$FULL" "$LONE"
cp "$BIN/Ripplume.scr" "$BIN/Ripplume.dll" "$FULL/"
cp "$BIN/Ripplume.scr" "$LONE/"

exists() { wine "$BIN/wintool.exe" exists "$1" >/dev/null 2>&1; }

# A preview box for preview requests; BOX_HANDLE gets its handle.
start_box() {
  rm -f "$WORK/modes_box".*
  wine_start BOX "$BIN/preview_box.exe" box 152 112 "$WORK_WIN\\modes_box.txt"
  wait_for 10 test -s "$WORK/modes_box.txt"
  BOX_HANDLE=$(tr -d '\r\n' <"$WORK/modes_box.txt" 2>/dev/null)
  [ -n "$BOX_HANDLE" ]
}
# box_has_preview: the box's last report names a child "Preview Window".
box_has_preview() { case $(cat "$WORK/modes_box.txt.report" 2>/dev/null) in 1\ *) return 0 ;; esac; return 1; }
stop_box() { : >"$WORK/modes_box.txt.quit"; wait_exit "$BOX" 10; }

window_count() { find_window "$1" | wc -l; }
renderer_count_is() { [ "$(renderer_count)" = "$1" ]; }
no_message_box() { [ -z "$(find_window "$MESSAGE_TITLE")" ]; }

# ends_silently NAME ARGS...: the host ends by itself within a few seconds
# having shown nothing, started no renderer, opened no dialog and taken no
# capture. Says which of these failed.
ends_silently() {
  local name=$1
  shift
  local renderers dialogs
  renderers=$(renderer_count)
  dialogs=$(window_count '<Ripplume>')
  rm -f "$PICTURE"
  wine_start "$name" "$@"
  local pid_var=$name
  wait_exit "${!pid_var}" 15 || { echo "  $name did not end"; return 1; }
  [ -z "$(find_window "$MESSAGE_TITLE")" ] || { echo "  $name showed a message"; return 1; }
  stays_so 0.5 renderer_count_is "$renderers" || { echo "  $name started a renderer"; return 1; }
  [ "$(window_count '<Ripplume>')" = "$dialogs" ] || { echo "  $name opened a dialog"; return 1; }
  [ ! -e "$PICTURE" ] || { echo "  $name took a capture"; return 1; }
}

# --- The renderer-missing message: /s, /c and /a, but not /p.
for mode in /s /c /a; do
  rm -f "$PICTURE"
  wine_start MISSING "$LONE/Ripplume.scr" "$mode"
  check "$mode without the renderer: the message box appears" wait_for_window "$MESSAGE_TITLE" 15
  [ "$mode" = /s ] && screenshot renderer_missing >/dev/null
  check "$mode without the renderer: it says what is missing" \
    sh -c "wine '$BIN/wintool.exe' texts '$MESSAGE_TITLE' | grep -q 'Ripplume.dll が同じﾌｫﾙﾀﾞに見つかりません！'"
  check "$mode without the renderer: no dialog, no run" \
    test -z "$(find_window '<Ripplume>')" -a ! -e "$PICTURE"
  key_to_window "$MESSAGE_TITLE" Return
  check "$mode without the renderer: the host ends when the message is dismissed" wait_exit "$MISSING" 5
done

check "preview box for /p without the renderer" start_box
wine_start LONE_PREVIEW "$LONE/Ripplume.scr" /p "$BOX_HANDLE"
check "/p without the renderer: the preview shows" wait_for 15 box_has_preview
check "/p without the renderer: no message box" stays_so 1 no_message_box
stop_box
wait_exit "$LONE_PREVIEW" 5

# --- Unknown letters end silently, after the preparation.
check "/a ends silently" ends_silently A "$FULL/Ripplume.scr" /a
check "/x ends silently" ends_silently X "$FULL/Ripplume.scr" /x
check "a single character ends silently" ends_silently ONE "$FULL/Ripplume.scr" x

# --- Settings: /c:<handle> of no window opens the dialog as /c does; while
# it is open, every new start ends at once, and a new settings request
# brings the open dialog to the front.
wine_start DIALOG "$FULL/Ripplume.scr" /c:4660
check "/c:4660 opens the settings dialog" wait_for_window '<Ripplume>' 15
check "while the dialog is open, /s ends at once" ends_silently S_DURING_DIALOG "$FULL/Ripplume.scr" /s
foreground_is() { [ "$(wine "$BIN/wintool.exe" foreground 2>/dev/null | tr -d '\r')" = "$1" ]; }
hold ACTIVE take-activation 30 >/dev/null
check "another window takes the activation from the dialog" wait_for 10 foreground_is "wintool active"
check "while the dialog is open, /c ends at once" ends_silently C_DURING_DIALOG "$FULL/Ripplume.scr" /c
check "... and brings the open dialog to the front" wait_for 10 foreground_is '<Ripplume>'
check "an empty command line then ends at once too" ends_silently EMPTY_DURING_DIALOG "$FULL/Ripplume.scr"
kill "$ACTIVE" 2>/dev/null
check "preview box while the dialog is open" start_box
wine_start P_DURING_DIALOG "$FULL/Ripplume.scr" /p "$BOX_HANDLE"
check "while the dialog is open, /p ends at once" wait_exit "$P_DURING_DIALOG" 15
check "... and the preview box stays empty" sh -c '! grep -q "^1 " "$0"' "$WORK/modes_box.txt.report"
stop_box
wine "$BIN/wintool.exe" close '<Ripplume>' >/dev/null 2>&1
check "closing the dialog ends the settings process" wait_exit "$DIALOG" 10

# /c:<handle> of a window, as the screen-saver page asks: the dialog is owned
# by that window and modal to it, and gives it back when it closes.
check "an asking window for /c:<handle>" start_box
wine_start DIALOG_OWNED "$FULL/Ripplume.scr" "/c:$BOX_HANDLE"
check "/c:<handle> opens the settings dialog" wait_for_window '<Ripplume>' 15
owner=$(wine "$BIN/wintool.exe" owner '<Ripplume>' 2>/dev/null | tr -d '\r')
check "it is owned by the asking window, which takes no input meanwhile ($owner)" test "$owner" = "$BOX_HANDLE 0"
wine "$BIN/wintool.exe" close '<Ripplume>' >/dev/null 2>&1
check "closing the dialog ends the settings process" wait_exit "$DIALOG_OWNED" 10
check "... and the asking window takes input again" wine "$BIN/wintool.exe" enabled "Preview Box"
stop_box

wine_start DIALOG_C "$FULL/Ripplume.scr" /C
check "/C opens the settings dialog too" wait_for_window '<Ripplume>' 15
wine "$BIN/wintool.exe" close '<Ripplume>' >/dev/null 2>&1
wait_exit "$DIALOG_C" 10

# --- A run in progress: its hidden window makes any new start end at once.
wine_start RUN "$FULL/Ripplume.scr" -S
check "-S starts a run" wait_for_window Ripplume_VC 30
check "the run's hidden window is there" exists Ripplume_Main
check "the run's renderer is running" test "$(renderer_count)" = 1
check "during a run, /s ends at once" ends_silently S_DURING_RUN "$FULL/Ripplume.scr" /s
check "during a run, /c ends at once" ends_silently C_DURING_RUN "$FULL/Ripplume.scr" /c
check "preview box during a run" start_box
wine_start P_DURING_RUN "$FULL/Ripplume.scr" /p "$BOX_HANDLE"
check "during a run, /p ends at once" wait_exit "$P_DURING_RUN" 15
check "... and the preview box stays empty" sh -c '! grep -q "^1 " "$0"' "$WORK/modes_box.txt.report"
stop_box
check "the run ends with its renderer" end_run "$RUN"

# --- An empty command line, as Windows' "Configure" gives, opens the settings.
renderers=$(renderer_count)
wine_start EMPTY "$FULL/Ripplume.scr"
check "an empty command line opens the settings dialog" wait_for_window '<Ripplume>' 15
check "... and starts no run" stays_so 1 renderer_count_is "$renderers"
wine "$BIN/wintool.exe" close '<Ripplume>' >/dev/null 2>&1
check "... and ends when the dialog closes" wait_exit "$EMPTY" 10

finish_checks
