#!/usr/bin/env bash
# ripplume-add-to-xscreensaver on real files: add_to_xscreensaver_test.sh TOOL ARTIFACTS
#  - a read or write that fails (injected with strace) leaves the file as it
#    was, with a message and exit code 1; the new file is made new (O_EXCL),
#    mode 0600, and given the file's mode before a byte is written;
#  - a link leading nowhere or round in a loop stops the run; a linked file
#    in a folder it cannot write in is refused, saying why;
#  - a link planted at the old fixed temporary name is not followed;
#  - run as root, another user's file is refused unless --other-owner asks,
#    and then keeps its owner, group and mode; a user's link to root's file
#    is never followed;
#    and a folder swapped for a link during the edit leads it nowhere;
#  - a file with no XScreenSaver settings (/etc/passwd, linked) is refused;
#  - SIGTERM, SIGINT and SIGHUP leave no new file behind;
#  - a change another program makes during the edit is kept;
#  - runs at the same time all succeed; one waits while the folder is locked,
#    saying so at once, and gives up after 10 s.
TOOL=$1
source "$(dirname "$0")/../../lib/checks.sh"
ART=$2
rm -rf "$ART"
mkdir -p "$ART"
# Wherever the tree lies (a private home, as root), the runs as nobody need
# the tool and their files in a folder every user can reach.
if [ "$(id -u)" = 0 ]; then
  PUBLIC=$(mktemp -d /tmp/xscreensaver-list-test.XXXXXX)
  trap 'rm -rf "$PUBLIC"' EXIT
  chmod 755 "$PUBLIC"
  cp "$TOOL" "$PUBLIC/tool"
  TOOL=$PUBLIC/tool
  ART=$PUBLIC
fi
# strace and LeakSanitizer cannot both trace the tool.
export ASAN_OPTIONS=detect_leaks=0
export RIPPLUME_APP_DEFAULTS=$ART/system
printf '*programs:\t\\\n\t\tmaze --root \\n\\\n\t\tbsod --root\n' >"$RIPPLUME_APP_DEFAULTS"
SETTINGS='timeout:\t0:10:00\nmode:\t\tone\nselected:\t1\nprograms:\t\\\n\t\tmaze --root \\n\\\n  GL:\t\tgears --root \\n\\\n\n'

# fresh NAME: a home of that name with the usual settings file, mode 0640; prints the home.
fresh() {
  mkdir -p "$ART/$1"
  printf "$SETTINGS" >"$ART/$1/.xscreensaver"
  chmod 640 "$ART/$1/.xscreensaver"
  cp -p "$ART/$1/.xscreensaver" "$ART/$1.was"
  echo "$ART/$1"
}
# tool HOME ARGS...: the tool's exit code in CODE, its messages in OUT.
tool() {
  local home=$1
  shift
  OUT=$(HOME=$home "$@" 2>&1)
  CODE=$?
}
unchanged() { cmp -s "$1/.xscreensaver" "$ART/$(basename "$1").was"; }
no_leftovers() { [ -z "$(find "$1" -name '*.ripplume-*')" ]; }
said() { grep -q -- "$1" <<<"$OUT"; }

# ---- reads and writes that fail ----
home=$(fresh eio)
tool "$home" strace -qq -o /dev/null -P "$home/.xscreensaver" -e trace=read -e inject=read:error=EIO:when=1 "$TOOL"
check "a read failing with EIO: exit 1 and a message, the file as it was" \
  eval '[ $CODE = 1 ] && said "cannot be read: Input/output error" && unchanged "$home"'
home=$(fresh eio_later)
head -c 20000 /dev/zero | tr '\0' '#' >>"$home/.xscreensaver"
cp -p "$home/.xscreensaver" "$ART/eio_later.was"
tool "$home" strace -qq -o /dev/null -P "$home/.xscreensaver" -e trace=read -e inject=read:error=EIO:when=2 "$TOOL"
check "... and when it fails after the first 20 KB" eval '[ $CODE = 1 ] && unchanged "$home"'
home=$(fresh folder)
rm "$home/.xscreensaver"
mkdir "$home/.xscreensaver"
tool "$home" "$TOOL"
check "~/.xscreensaver a folder: exit 1, said, left alone" \
  eval '[ $CODE = 1 ] && said "is a folder" && [ -d "$home/.xscreensaver" ]'
for failure in write:error=ENOSPC:when=1 fsync:error=EIO rename,renameat,renameat2:error=EXDEV; do
  home=$(fresh "${failure%%[:,]*}")
  tool "$home" strace -qq -o "$ART/${failure%%[:,]*}.strace" -e trace=openat,fchmod,write,fsync,rename,renameat,renameat2 \
    -e inject="$failure" "$TOOL"
  check "a ${failure%%[:,]*} failing: exit 1 and a message, the file as it was, no new file left" \
    eval '[ $CODE = 1 ] && said "cannot be written" && unchanged "$home" && no_leftovers "$home"'
done
# The new file is made new and closed to others, and given the mode before any byte.
new_file=$(grep -m1 -o 'openat([0-9]*, "\.xscreensaver\.ripplume-[^"]*", [^)]*) = [0-9]*' "$ART/write.strace")
fd=${new_file##* }
check "the new file is made with O_EXCL and mode 0600 ($new_file)" \
  eval '[[ $new_file == *O_EXCL*", 0600) = "* ]]'
check "... and given the old file's mode before it is written" \
  sh -c "grep -A1 -F '$new_file' '$ART/write.strace' | tail -n 1 | grep -q '^fchmod($fd, 0640)'"

# ---- links ----
home=$(fresh dangling)
rm "$home/.xscreensaver"
ln -s dotfiles/xscreensaver "$home/.xscreensaver"
tool "$home" "$TOOL"
check "a link leading nowhere: exit 1, said, the link kept" \
  eval '[ $CODE = 1 ] && said "dotfiles/xscreensaver, which is not there" && [ -L "$home/.xscreensaver" ]'
home=$(fresh loop)
rm "$home/.xscreensaver"
ln -s .xscreensaver "$home/.xscreensaver"
tool "$home" "$TOOL"
check "a link in a loop: exit 1, said" eval '[ $CODE = 1 ] && said "loop" && [ -L "$home/.xscreensaver" ]'
home=$(fresh planted)
echo "victim" >"$ART/victim"
ln -s "$ART/victim" "$home/.xscreensaver.ripplume-new"
tool "$home" "$TOOL"
check "a link at the old temporary name is not followed" \
  eval '[ $CODE = 0 ] && [ "$(cat "$ART/victim")" = victim ] && grep -q ripplume "$home/.xscreensaver"'
home=$(fresh passwd)
cp /etc/passwd "$ART/passwd_copy"
rm "$home/.xscreensaver"
ln -s "$ART/passwd_copy" "$home/.xscreensaver"
tool "$home" "$TOOL"
check "a link to a copy of /etc/passwd: refused as no settings file, left alone" \
  eval '[ $CODE = 1 ] && said "holds none of XScreenSaver" && cmp -s /etc/passwd "$ART/passwd_copy"'

# ---- signals and changes meanwhile ----
for signal in TERM INT HUP; do
  home=$(fresh "sig$signal")
  tool "$home" strace -qq -o /dev/null -e trace=fsync -e inject=fsync:signal=SIG$signal "$TOOL"
  check "SIG$signal during the edit: no new file left, the file as it was" \
    eval '[ $CODE != 0 ] && no_leftovers "$home" && unchanged "$home"'
done
# slowed HOME ARGS...: the tool in the background, held 3 s in its fsync; its pid in SLOWED.
slowed() {
  local home=$1
  shift
  HOME=$home strace -qq -o /dev/null -e trace=fsync -e inject=fsync:delay_enter=3000000:when=1 "$@" \
    >"$home.out" 2>&1 &
  SLOWED=$!
}
pending() { [ -n "$(find "$1" -name '*.ripplume-*')" ]; }
home=$(fresh meanwhile)
slowed "$home" "$TOOL"
wait_for 20 pending "$home"
printf 'textMode:\turl\n' | cat "$home/.xscreensaver" - >"$home/saved" && mv "$home/saved" "$home/.xscreensaver"
check "a change saved by another program during the edit is kept, Ripplume added to it" \
  eval 'wait_exit "$SLOWED" 30 && [ "$EXIT_CODE" = 0 ] && grep -q "^textMode:" "$home/.xscreensaver" &&
    grep -q ripplume "$home/.xscreensaver" && grep -q "changed by another program" "$home.out"'

# ---- other users ----
if [ "$(id -u)" = 0 ]; then
  nobody_group=$(id -gn nobody)
  as_nobody() { setpriv --reuid=nobody --regid="$nobody_group" --clear-groups "$@"; }
  home=$(fresh readonly)
  mkdir "$home/store"
  mv "$home/.xscreensaver" "$home/store/kept"
  ln -s store/kept "$home/.xscreensaver"
  chown -hR nobody: "$home"
  chmod 555 "$home/store"
  tool "$home" as_nobody "$TOOL"
  check "a linked file in a folder it cannot write in: exit 1, saying why" \
    eval '[ $CODE = 1 ] && said "cannot make a new file in $home/store, where the file is replaced whole" &&
      said "links to it" && cmp -s "$home/store/kept" "$ART/readonly.was"'

  home=$(fresh theirs)
  chown -R nobody: "$home"
  tool "$home" "$TOOL"
  check "root, on nobody's file: refused, saying to run it as nobody" \
    eval '[ $CODE = 1 ] && said "run ripplume-add-to-xscreensaver as nobody" && unchanged "$home"'
  tool "$home" "$TOOL" --other-owner
  check "... with --other-owner: edited, keeping owner, group and mode" \
    eval '[ $CODE = 0 ] && grep -q ripplume "$home/.xscreensaver" &&
      [ "$(stat -c %U:%G:%a "$home/.xscreensaver")" = "nobody:$nobody_group:640" ]'
  home=$(fresh lured)
  echo "root's" >"$ART/roots"
  rm "$home/.xscreensaver"
  ln -s "$ART/roots" "$home/.xscreensaver"
  chown -hR nobody: "$home"
  tool "$home" "$TOOL" --other-owner
  check "... nobody's link to root's file: refused, even with --other-owner" \
    eval '[ $CODE = 1 ] && [ "$(cat "$ART/roots")" = "root'"'"'s" ]'
  # nobody swaps the linked folder for a link to root's folder during the edit.
  home=$(fresh swapped)
  mkdir "$home/dotfiles" "$ART/roots_folder"
  mv "$home/.xscreensaver" "$home/dotfiles/xscreensaver"
  ln -s dotfiles/xscreensaver "$home/.xscreensaver"
  printf 'timeout:\t0:01:00\n' >"$ART/roots_folder/xscreensaver"
  cp -p "$ART/roots_folder/xscreensaver" "$ART/roots_folder.was"
  chown -hR nobody: "$home"
  slowed "$home" "$TOOL" --other-owner
  wait_for 20 pending "$home/dotfiles"
  as_nobody sh -c "mv '$home/dotfiles' '$home/dotfiles.old' && ln -s '$ART/roots_folder' '$home/dotfiles'"
  check "... a folder swapped for a link to root's during the edit: root's file untouched" \
    eval 'wait_exit "$SLOWED" 30 && cmp -s "$ART/roots_folder/xscreensaver" "$ART/roots_folder.was" &&
      [ "$(stat -c %U "$ART/roots_folder/xscreensaver")" = root ] && no_leftovers "$ART/roots_folder"'
else
  log "not root: the cases of other users are left out"
fi

# ---- runs at the same time ----
home=$(fresh parallel)
HOME=$home "$TOOL" >/dev/null
cp "$home/.xscreensaver" "$ART/parallel.added"
cp -p "$ART/parallel.was" "$home/.xscreensaver"
failed=0
for round in $(seq 8); do
  runs=()
  for i in $(seq 20); do
    if [ $((i % 2)) = 0 ]; then HOME=$home "$TOOL" --remove; else HOME=$home "$TOOL"; fi >>"$ART/parallel.log" 2>&1 &
    runs+=("$!")
  done
  for run in "${runs[@]}"; do wait "$run" || failed=$((failed + 1)); done
done
check "8 times 20 runs at the same time, adding and removing: all succeed ($failed failed)" test "$failed" = 0
check "... leaving the file as it was or with Ripplume added, and no new file behind" \
  eval '(cmp -s "$home/.xscreensaver" "$ART/parallel.was" || cmp -s "$home/.xscreensaver" "$ART/parallel.added") &&
    no_leftovers "$home"'
# A run waits while another holds the folder's lock (flock), saying so, then edits.
flock "$home" sh -c "touch '$ART/held'; for i in \$(seq 200); do [ -e '$ART/release' ] && break; sleep 0.05; done" &
wait_for 10 test -e "$ART/held"
HOME=$home "$TOOL" --remove >"$ART/waiting.out" 2>&1 &
waiting=$!
in_flock() { grep -q lock "/proc/$waiting/wchan" 2>/dev/null; }  # waiting in the kernel for a lock
check "a run waits for the folder's lock, saying so" \
  eval 'wait_for 10 in_flock && grep -q "waiting for another program" "$ART/waiting.out"'
touch "$ART/release"
check "... and then edits the file" eval 'wait_exit "$waiting" 10 && [ "$EXIT_CODE" = 0 ] &&
  cmp -s "$home/.xscreensaver" "$ART/parallel.was"'
rm -f "$ART/held" "$ART/release"
flock "$home" sh -c "touch '$ART/held'; for i in \$(seq 600); do [ -e '$ART/release' ] && break; sleep 0.05; done" &
holder=$!
wait_for 10 test -e "$ART/held"
HOME=$home "$TOOL" >"$ART/gave_up.out" 2>&1 &
waiting=$!
check "... and gives up after 10 s when the lock is kept" \
  eval 'wait_exit "$waiting" 25 && [ "$EXIT_CODE" = 1 ] && grep -q "gave up" "$ART/gave_up.out" &&
    cmp -s "$home/.xscreensaver" "$ART/parallel.was"'
touch "$ART/release"
wait "$holder"

finish_checks
