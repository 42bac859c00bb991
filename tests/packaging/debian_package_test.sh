#!/usr/bin/env bash
# The Debian package of the Linux display mode, and Ripplume under the real
# XScreenSaver daemon on a private Xvfb display:
# debian_package_test.sh DEB ARTIFACTS
#  - lintian finds nothing against Debian policy in it;
#  - the package holds the program where XScreenSaver runs its modes, the
#    settings description where xscreensaver-settings reads them, the list
#    command, the manuals and the licence;
#  - it installs with dpkg (as root, where it is not installed already; else
#    its files are unpacked into a folder and used from there);
#  - ripplume-add-to-xscreensaver puts it on a new user's list; the daemon,
#    activated, runs ripplume on its window with the desktop mirrored on the
#    water; deactivated, it ends ripplume;
#  - removing the package leaves none of its files.
DEB=$1
if [ ! -f "$DEB" ]; then
  # A tree built by hand has no release beside it; scripts/test.sh makes one.
  echo "SKIPPED: no $DEB: make the release first (scripts/release.sh), or run scripts/test.sh"
  exit 77
fi
source "$(dirname "$0")/../renderer/x11/x11_harness.sh"
# Two screens of different sizes: XScreenSaver runs a mode on each.
x11_init "$2" -screen 0 1024x768x24 -screen 1 800x600x24
SECOND=${DISPLAY%.*}.1

# ---- what the package holds ----
dpkg-deb -c "$DEB" | awk '{ print $6 }' | sed 's|^\./|/|' | grep -v '/$' | sort >"$ART/files.txt"
cat >"$ART/expected.txt" <<'EOF'
/usr/bin/ripplume
/usr/bin/ripplume-add-to-xscreensaver
/usr/libexec/xscreensaver/ripplume
/usr/share/doc/ripplume/README.Debian
/usr/share/doc/ripplume/changelog.gz
/usr/share/doc/ripplume/copyright
/usr/share/man/man1/ripplume-add-to-xscreensaver.1.gz
/usr/share/man/man6/ripplume.6.gz
/usr/share/xscreensaver/config/ripplume.xml
EOF
check "the package holds exactly its files" diff "$ART/expected.txt" "$ART/files.txt"
check "... /usr/bin/ripplume leads to the display mode" \
  sh -c "dpkg-deb -c '$DEB' | grep -q 'usr/bin/ripplume -> ../libexec/xscreensaver/ripplume'"
check "it depends on the GL and X libraries it links" \
  sh -c "dpkg-deb -f '$DEB' Depends | grep -q libgl1 && dpkg-deb -f '$DEB' Depends | grep -q libx11-6"
check "lintian finds nothing against Debian's policy" \
  sh -c "lintian --fail-on error,warning '$DEB' >'$ART/lintian.log' 2>&1"
dpkg-deb --fsys-tarfile "$DEB" | tar -xO ./usr/share/xscreensaver/config/ripplume.xml >"$ART/ripplume.xml"
check "its settings description names the mode, its command, the frame-rate and the render-scale options" python3 - "$ART/ripplume.xml" <<'PY'
import sys, xml.etree.ElementTree as tree
saver = tree.parse(sys.argv[1]).getroot()
assert saver.tag == "screensaver" and saver.get("name") == "ripplume" and saver.get("_label") == "Ripplume"
assert [c.get("arg") for c in saver.iter("command")] == ["--root"]
assert any(b.get("arg-set") == "--fps" for b in saver.iter("boolean"))
scales = [o.get("arg-set") for o in saver.iter("option")]
assert None in scales and "--scale 1" in scales and "--scale 0.5" in scales, scales
assert saver.find("xscreensaver-image") is not None
PY

# ---- installed, or unpacked where it cannot be installed here ----
INSTALLED=no
if [ "$(id -u)" = 0 ] && ! dpkg -s ripplume >/dev/null 2>&1; then
  check "dpkg installs the package" sh -c "dpkg -i '$DEB' >'$ART/dpkg-install.log' 2>&1"
  INSTALLED=yes
  trap 'dpkg -r ripplume >/dev/null 2>&1; x11_cleanup' EXIT
  FILES=
else
  log "not installing: not root, or ripplume is installed already; the unpacked files are used"
  FILES=$ART/unpacked
  dpkg-deb -x "$DEB" "$FILES"
fi
check "the display mode is where XScreenSaver runs modes" test -x "$FILES/usr/libexec/xscreensaver/ripplume"

# ---- a ~/.xscreensaver kept elsewhere and linked, as dotfile managers do ----
linked=$(mktemp -d)
printf 'timeout:\t0:10:00\n' >"$linked/kept"
ln -s kept "$linked/.xscreensaver"
HOME=$linked "$FILES/usr/bin/ripplume-add-to-xscreensaver" >"$ART/add-linked.log" 2>&1
check "a linked ~/.xscreensaver stays a link; the file it leads to gets the entry" \
  sh -c "test -L '$linked/.xscreensaver' && grep -q 'ripplume --root' '$linked/kept' && grep -q '^timeout:' '$linked/kept'"
rm -rf "$linked"

# ---- a user puts it on the list and XScreenSaver runs it ----
# XScreenSaver runs no display mode as root, so the user is nobody.
user_home=$(mktemp -d)
chmod 755 "$user_home"
chown nobody: "$user_home"
as_user() {
  setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups \
    env HOME="$user_home" DISPLAY="$DISPLAY" PATH="$FILES/usr/libexec/xscreensaver:$PATH" "$@"
}
add_to_list() { as_user "$FILES/usr/bin/ripplume-add-to-xscreensaver" >"$ART/add.log" 2>&1; }
check "ripplume-add-to-xscreensaver puts it on a new user's list" add_to_list
check "... enabled" grep -q "^  GL:.*ripplume --root" "$user_home/.xscreensaver"
check "... after the system's own modes were copied" grep -q "maze --root" "$user_home/.xscreensaver"
# ripplume_place FILE: Ripplume's place on the list, counted from 0 as
# XScreenSaver's "selected" counts (the list is the one line "programs:" starts).
ripplume_place() {
  awk '/^programs:/ { on = 1 } on { list = list $0; if (!/\\$/) exit } END {
    n = split(list, entries, /\\n/)
    for (i = 1; i <= n; i++) { if (entries[i] ~ /ripplume/) { print place + 0; exit } if (entries[i] !~ /^[ \t\\]*$/) place++ }
  }' "$1"
}
place=$(ripplume_place "$user_home/.xscreensaver")
check "... after the modes copied from the system's list (place $place)" test "$place" -gt 0
# The user picks it as the one mode, with desktop grabs allowed.
cat >>"$user_home/.xscreensaver" <<EOF
mode:		one
selected:	$place
grabDesktopImages:	True
fade:		False
unfade:		False
lock:		False
EOF
cp "$user_home/.xscreensaver" "$ART/xscreensaver.txt"

a_desktop "$ART/desktop.png"
root_picture "$ART/desktop.png"
root_picture "$ART/desktop.png" "$SECOND"
as_user xscreensaver --no-splash --verbose >"$ART/daemon.log" 2>&1 &
DAEMON=$!
PIDS+=("$DAEMON")
daemon_answers() { as_user xscreensaver-command -version >/dev/null 2>&1; }
check "the XScreenSaver daemon answers" wait_for 15 daemon_answers
as_user xscreensaver-command -activate >>"$ART/command.log" 2>&1
# ripplume_screens: the screens (DISPLAY values) on which this test's daemon
# (its user's HOME) runs ripplume, sorted.
ripplume_screens() {
  local pid environment
  for pid in $(pgrep -x ripplume); do
    environment=$(tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null)
    grep -qx "HOME=$user_home" <<<"$environment" && sed -n 's/^DISPLAY=//p' <<<"$environment"
  done | sort | tr '\n' ' '
}
ripplume_runs() { [ -n "$(ripplume_screens)" ]; }
check "activated, XScreenSaver runs ripplume" wait_for 15 ripplume_runs
water_shows_desktop() {
  active=$(shot active)
  has_colour "$active" "#e03020" && has_colour "$active" "#f0e040"
}
check "... on its window, with the desktop's red and yellow on the water" wait_for 15 water_shows_desktop
screens=$(ripplume_screens)
log "ripplume runs on: $screens"
check "one ripplume on each screen" test "$screens" = "${DISPLAY%.*}.0 $SECOND "
# The second screen's far corner shows the blue of the desktop once its water is drawn.
second_drawn() {
  second=$(shot active_second "$SECOND")
  read -r r g b <<<"$(mean_in "$second" 100x60+690+530)"
  [ "$b" -gt "$r" ] && [ "$b" -gt 60 ] && [ "$b" -lt 250 ] \
    && has_colour "$second" "#e03020" && has_colour "$second" "#f0e040"
}
wait_for 10 second_drawn
log "the 800x600 screen's lower right corner: $r $g $b"
check "the second screen's water fills it, at its own size (blue of the desktop in its far corner)" \
  test "$b" -gt "$r" -a "$b" -gt 60 -a "$b" -lt 250
check "... with the desktop's colours on it" \
  eval 'has_colour "$second" "#e03020" && has_colour "$second" "#f0e040"'
as_user xscreensaver-command -deactivate >>"$ART/command.log" 2>&1
check "deactivated, ripplume ends" wait_for 10 eval '! ripplume_runs'
as_user xscreensaver-command -exit >>"$ART/command.log" 2>&1
ends_within 5 "$DAEMON" || kill "$DAEMON" 2>/dev/null
rm -rf "$user_home"

if [ "$INSTALLED" = yes ]; then
  dpkg -r ripplume >"$ART/dpkg-remove.log" 2>&1
  check "removing the package leaves none of its files" \
    sh -c "! ls \$(cat '$ART/files.txt') 2>/dev/null | grep -q ."
  trap x11_cleanup EXIT
fi
finish_checks
