#!/usr/bin/env bash
# The release as a Windows user gets it, in a fresh Wine prefix: the
# installer puts the programs in place, makes Ripplume the screen saver and
# registers its uninstaller; the installed programs run a saver and write
# their settings; an upgrade keeps the settings; the uninstaller takes all of
# it away again and leaves another program's screen-saver choice alone. The
# zip and the checksums are checked too. RIPPLUME_DIST names the release
# folder (scripts/release.sh makes it).
#
# The installer is the shipped 32-bit one. Where the programs under test are
# 64-bit (a machine that runs no 32-bit code), it is a 64-bit test installer
# made from the same ripplume.nsi around them, in a 64-bit prefix; signed as a
# release would be when RIPPLUME_SIGN_CERT and RIPPLUME_SIGN_KEY are set.
# With RIPPLUME_VERIFY_CA, the installed programs and the uninstaller must
# carry signatures that verify against that CA.
here=$(dirname "$0")
DIST=${RIPPLUME_DIST:?RIPPLUME_DIST must name the release folder}
# A prefix of its own, made anew: the "before" state of a user's machine.
export RIPPLUME_WINE_PREFIX="${RIPPLUME_WINE_PREFIX:?}-install"
rm -rf "$RIPPLUME_WINE_PREFIX"
source "$here/harness.sh"
source "$here/dialog_helpers.sh"
if file -b "${RIPPLUME_BIN:?}/Ripplume.scr" | grep -q '^PE32+ '; then
  INSTALLER=test64
  prepare_wine_prefix "$RIPPLUME_WINE_PREFIX" win64 || { echo "no 64-bit Wine prefix"; exit 1; }
else
  INSTALLER=shipped
fi
# Wine would mirror Start-menu entries into the Unix desktop's menus, outside
# the prefix; Windows has nothing of the kind.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
harness_init install
wine_japanese_fonts

VERSION=$(ls "$DIST" | sed -n 's/^Ripplume-\(.*\)-setup\.exe$/\1/p')
ZIP="$DIST/Ripplume-$VERSION-win32.zip"
# PROGRAMS: the programs the installer holds, to compare the installed ones with.
PROGRAMS=$ART/programs
mkdir -p "$PROGRAMS"
if [ "$INSTALLER" = shipped ]; then
  SETUP="$DIST/Ripplume-$VERSION-setup.exe"
  unzip -q -j "$ZIP" '*/Ripplume.scr' '*/Ripplume.dll' -d "$PROGRAMS"
  log "installer: $SETUP, the shipped 32-bit one"
  check "the shipped installer is a 32-bit program" sh -c "file -b '$SETUP' | grep -q '^PE32 executable'"
else
  SETUP="$ART/Ripplume-$VERSION-setup-x86_64-test.exe"
  cp "$BIN/Ripplume.scr" "$BIN/Ripplume.dll" "$PROGRAMS/"
  sign=()
  if [ -n "${RIPPLUME_SIGN_CERT:-}" ]; then
    bash "$RIPPLUME_SOURCE/scripts/sign.sh" "$PROGRAMS/Ripplume.scr" "$PROGRAMS/Ripplume.dll"
    sign=("-DSIGN=bash '$RIPPLUME_SOURCE/scripts/sign.sh'")
  fi
  makensis -V2 -DVERSION="$VERSION" -DBIN="$PROGRAMS" -DTOP="$RIPPLUME_SOURCE" "${sign[@]}" \
    -DTARGET=amd64-unicode -DOUTFILE="$SETUP" "$RIPPLUME_SOURCE/packaging/windows/ripplume.nsi" >"$ART/makensis.log" 2>&1
  log "installer: $SETUP, a 64-bit test installer made from ripplume.nsi around $BIN"
  check "the test installer is a 64-bit program" sh -c "file -b '$SETUP' | grep -q '^PE32+ executable'"
fi
UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ripplume'
DESKTOP_KEY='HKCU\Control Panel\Desktop'
C="$WINEPREFIX/drive_c"

# ---- the release folder ----
check "the release has a version ($VERSION)" test -n "$VERSION"
check "SHA256SUMS verifies both files (and the Linux package beside them)" \
  sh -c "cd '$DIST' && sha256sum -c --quiet SHA256SUMS && test \$(grep -c 'Ripplume-.*-\(setup.exe\|win32.zip\)\$' SHA256SUMS) = 2"
unzip -Z1 "$ZIP" | sort >"$ART/zip.txt"
printf 'Ripplume-%s/\nRipplume-%s/LICENSE.txt\nRipplume-%s/README.txt\nRipplume-%s/Ripplume.dll\nRipplume-%s/Ripplume.scr\n' \
  "$VERSION" "$VERSION" "$VERSION" "$VERSION" "$VERSION" | sort >"$ART/zip_expected.txt"
check "the zip holds exactly the programs, the read-me and the licence" cmp -s "$ART/zip.txt" "$ART/zip_expected.txt"

snapshot() {
  (cd "$C" && find . -path ./windows -prune -o -path './users/*/Temp' -prune -o -print | sort) >"$ART/files_$1.txt"
  # The server writes the registry out when it ends.
  wineserver -k
  wineserver -w
  grep -v '^#time=' "$WINEPREFIX/user.reg" | sed 's/^\(\[.*\]\) [0-9]*$/\1/' >"$ART/user_$1.reg"
}
# windows_path UNIX_PATH: the path as Windows programs see it.
windows_path() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }
# wait_uninstalled FILE: the file is gone and the uninstaller has ended.
uninstalled() { [ ! -e "$1" ] && ! pgrep -f 'Un_A.exe' >/dev/null; }
wait_uninstalled() { wait_for 20 uninstalled "$1"; }

# A saver run and the settings dialog, from where the installer put the host.
run_installed() {
  local dir=$1 label=$2
  rm -f "$PICTURE"
  wine_start "RUN_$label" "$dir/Ripplume.scr" /s
  check "$label: the installed host starts the renderer" wait_for_window Ripplume_VC 30
  check "$label: Escape ends the run" escape_renderer
  check "$label: the host ends with it" wait_for_no_window Ripplume_Main 5
  wine_start "DIALOG_$label" "$dir/Ripplume.scr" /c
  check "$label: /c opens the settings dialog" dialog_shown
  click_control set
  check "$label: OK closes the dialog" wait_for_no_window "<Ripplume>" 15
  check "$label: the settings file is written beside the installed host" test -s "$dir/Ripplume.ini"
}

# An account whose saver was once set to (None) (it is off) and that has no
# timeout of its own.
wine reg add "$DESKTOP_KEY" /v ScreenSaveActive /d 0 /f >/dev/null 2>&1
wine reg delete "$DESKTOP_KEY" /v ScreenSaveTimeOut /f >/dev/null 2>&1
snapshot before

# ---- a silent install, to the default folder ----
# A window that sees what Windows is told.
check "a window watches for settings changes" hold WATCHER watch-settings 600
# saver_changes_told: how many times Windows was told the saver went on or off.
saver_changes_told() { tr -d '\r' <"$ART/WATCHER.log" | grep -cx 'setting 17'; }
told_more_than() { [ "$(saver_changes_told)" -gt "$1" ]; }
wine "$SETUP" /S >"$ART/setup.log" 2>&1
# %LOCALAPPDATA%\Programs\Ripplume, under whichever user Wine runs as.
DIR=$(dirname "$(find "$C/users" -path '*/AppData/Local/Programs/Ripplume/Ripplume.scr' | head -n 1)")
log "installed to $DIR"
check "the host is installed" test -f "$DIR/Ripplume.scr"
check "the renderer is installed beside it" test -f "$DIR/Ripplume.dll"
check "and the uninstaller" test -f "$DIR/Uninstall.exe"
check "the programs are the installer's" \
  sh -c "cmp -s '$DIR/Ripplume.scr' '$PROGRAMS/Ripplume.scr' && cmp -s '$DIR/Ripplume.dll' '$PROGRAMS/Ripplume.dll'"
if [ -n "${RIPPLUME_VERIFY_CA:-}" ]; then
  for file in "$SETUP" "$DIR/Ripplume.scr" "$DIR/Ripplume.dll" "$DIR/Uninstall.exe"; do
    check "${file##*/} carries a signature that verifies" \
      sh -c "osslsigncode verify -CAfile '$RIPPLUME_VERIFY_CA' -in '$file' >>'$ART/verify.log' 2>&1"
  done
elif [ "$INSTALLER" = shipped ]; then
  check "the release holds this build's programs" \
    sh -c "cmp -s '$PROGRAMS/Ripplume.scr' '$BIN/../../windows-i686/bin/Ripplume.scr' && cmp -s '$PROGRAMS/Ripplume.dll' '$BIN/../../windows-i686/bin/Ripplume.dll'"
fi
wine "$BIN/wintool.exe" version "$(windows_path "$DIR/Ripplume.scr")" 2>/dev/null | tr -d '\r' >"$ART/version.txt"
check "the host carries its version resource ($(tr '\n' ' ' <"$ART/version.txt"))" \
  grep -qx "ProductVersion=$VERSION" "$ART/version.txt"
check "with product name and description" grep -qx 'ProductName=Ripplume' "$ART/version.txt"
saver=$(reg_value "$DESKTOP_KEY" SCRNSAVE.EXE)
check "Ripplume is the current screen saver ($saver)" \
  test "$(readlink -f "$(wine winepath -u "$saver" 2>/dev/null | tr -d '\r')")" = "$(readlink -f "$DIR/Ripplume.scr")"
check "the screen saver is turned on" test "$(reg_value "$DESKTOP_KEY" ScreenSaveActive)" = 1
check "with the default timeout, there being none" test "$(reg_value "$DESKTOP_KEY" ScreenSaveTimeOut)" = 600
check "Windows is told the saver is on (SPI_SETSCREENSAVEACTIVE, with SPIF_SENDCHANGE)" \
  wait_for 10 told_more_than 0
check "the uninstall entry names Ripplume" test "$(reg_value "$UNINSTALL_KEY" DisplayName)" = Ripplume
check "with its version" test "$(reg_value "$UNINSTALL_KEY" DisplayVersion)" = "$VERSION"
check "its publisher" test -n "$(reg_value "$UNINSTALL_KEY" Publisher)"
check "and its size" test -n "$(reg_value "$UNINSTALL_KEY" EstimatedSize)"
check "the Start menu has \"Ripplume settings\"" test -n "$(find "$C/users" -name 'Ripplume settings.lnk')"
run_installed "$DIR" default

# ---- an upgrade over it keeps the settings ----
cp "$DIR/Ripplume.ini" "$ART/ini_before_upgrade"
# The user turned the saver off and chose a timeout of their own meanwhile.
wine reg add "$DESKTOP_KEY" /v ScreenSaveActive /d 0 /f >/dev/null 2>&1
wine reg add "$DESKTOP_KEY" /v ScreenSaveTimeOut /d 300 /f >/dev/null 2>&1
wine "$SETUP" /S >"$ART/upgrade.log" 2>&1
check "an upgrade keeps Ripplume.ini byte for byte" cmp -s "$DIR/Ripplume.ini" "$ART/ini_before_upgrade"
check "it turns the saver on again" test "$(reg_value "$DESKTOP_KEY" ScreenSaveActive)" = 1
check "and keeps the user's timeout" test "$(reg_value "$DESKTOP_KEY" ScreenSaveTimeOut)" = 300
check "and the programs are still there" test -f "$DIR/Ripplume.scr" -a -f "$DIR/Ripplume.dll"

# ---- the uninstaller ----
# Pictures left by runs that did not end normally: this version's, in the
# user's own folder, and an older version's under C:\q_lorn.
mkdir -p "$HANDOVER"
convert -size 8x8 xc:'#2040c0' -type TrueColor BMP3:"$PICTURE"
mkdir -p "$C/q_lorn"
convert -size 8x8 xc:'#2040c0' -type TrueColor BMP3:"$C/q_lorn/Ripplume.bmp"
told=$(saver_changes_told)
wine "$DIR/Uninstall.exe" /S >"$ART/uninstall.log" 2>&1
check "the uninstaller removes the install folder" wait_uninstalled "$DIR"
check "the screen saver is off again" test "$(reg_value "$DESKTOP_KEY" ScreenSaveActive)" = 0
check "Windows is told the saver is off" wait_for 10 told_more_than "$told"
check "the user's timeout stays" test "$(reg_value "$DESKTOP_KEY" ScreenSaveTimeOut)" = 300
wineboot -r >/dev/null 2>&1  # files the uninstaller left for the next start (its own copy)
snapshot after
check "no file of ours is left (the hand-over folder and an old C:\\q_lorn picture included)" diff "$ART/files_before.txt" "$ART/files_after.txt"
# The timeout is the user's own by now (checked above).
no_timeout() { grep -v '^"ScreenSaveTimeOut"=' "$1"; }
check "no registry value of ours is left" diff <(no_timeout "$ART/user_before.reg") <(no_timeout "$ART/user_after.reg")

# ---- a folder with blanks; another program's screen saver meanwhile ----
# /D= must come last and unquoted, blanks and all: through a batch file, as a
# shortcut or script on Windows would pass it.
printf '"%s" /S /D=C:\\My Screen Savers\\Ripplume water\r\n' "$(windows_path "$SETUP")" >"$ART/install_spaced.bat"
wine cmd /c "$(windows_path "$ART/install_spaced.bat")" >"$ART/setup_spaced.log" 2>&1
SDIR="$C/My Screen Savers/Ripplume water"
check "/D= installs into a folder with blanks" test -f "$SDIR/Ripplume.scr" -a -f "$SDIR/Ripplume.dll"
run_installed "$SDIR" spaced
wine reg add "$DESKTOP_KEY" /v SCRNSAVE.EXE /d 'C:\windows\system32\other.scr' /f >/dev/null 2>&1
wine "$SDIR/Uninstall.exe" /S >"$ART/uninstall_spaced.log" 2>&1
check "the uninstaller removes the folder with blanks" wait_uninstalled "$SDIR"
check "another program's screen-saver choice stays" \
  test "$(reg_value "$DESKTOP_KEY" SCRNSAVE.EXE)" = 'C:\windows\system32\other.scr'
check "and stays on" test "$(reg_value "$DESKTOP_KEY" ScreenSaveActive)" = 1
check "the uninstall entry is gone" sh -c "! wine reg query '$UNINSTALL_KEY' >/dev/null 2>&1"

finish_checks
