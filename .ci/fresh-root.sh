#!/usr/bin/env bash
# fresh-root.sh REPO WORK: run by .ci/run in a mount and process namespace of
# its own. Makes a minimal Debian 12 root in WORK/root with mmdebstrap, mounts
# into it what the tests need, and runs scripts/install-deps.sh and then
# scripts/test.sh there, from REPO mounted at its own path. Appends each
# stage's time to WORK/timings.
set -euo pipefail
repo=$1
work=$2
root=$work/root
cache=/var/cache/apt/archives
mirror=http://deb.debian.org/debian

CI_WORK=$work
source "$(dirname "$0")/stages.sh"

# minbase: essential and required packages and apt, nothing more; anything
# else the tests use must come from install-deps.sh. This machine's package
# cache is shared, so packages are downloaded once; it is mounted only while
# apt runs, and mmdebstrap is told to leave its files alone.
stage_start "fresh Debian 12 root (mmdebstrap minbase)"
make_root() {
  mkdir -p "$root"
  mmdebstrap --mode=root --variant=minbase --skip=essential/unlink --skip=cleanup/apt/cache \
    --aptopt='Acquire::Retries "3"' \
    --setup-hook="mkdir -p \"\$1$cache\" && mount --bind $cache \"\$1$cache\"" \
    --customize-hook="umount \"\$1$cache\"" \
    bookworm "$root" \
    "deb $mirror bookworm main" "deb $mirror bookworm-updates main" \
    "deb http://deb.debian.org/debian-security bookworm-security main"
}
# A failed attempt's root is removed once nothing is mounted in it.
discard_root() {
  ! mountpoint -q "$root$cache" || umount "$root$cache"
  grep -q " $root/" /proc/self/mountinfo && return 1
  rm -rf "$root"
}
# A mirror caught mid-sync fails an attempt; the next one, after a wait, finds
# it whole. A root that still cannot be made (Debian's archive out of reach)
# ends this with code 75, on which .ci/run says so loudly and tests on the
# machine instead.
attempt=1
until make_root; do
  if [ $attempt -ge 4 ] || ! discard_root; then
    stage_end failed
    exit 75
  fi
  echo "mmdebstrap failed (attempt $attempt of 4); trying again in $((30 * attempt)) s"
  sleep $((30 * attempt))
  attempt=$((attempt + 1))
done
stage_end

# The machine's own package lists of the same archive: where Debian's mirror
# serves a repository's files out of step with its release file, apt in the
# root keeps these, a consistent set, and installs from them. Lists only;
# nothing installed on the machine comes along.
lists=/var/lib/apt/lists
for list in "$lists"/deb.debian.org_debian*; do
  if [ -f "$list" ]; then cp -p "$list" "$root$lists/"; fi
done

# What the tests need of the machine: its processes (this namespace's), its
# devices and shared memory, and the X sockets' folder, so that the tests'
# private X displays do not take a number the machine's displays hold.
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount --bind /dev/shm "$root/dev/shm"
mkdir -p -m 1777 /tmp/.X11-unix "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
mount --bind "$cache" "$root$cache"
mkdir -p "$root$repo"
mount --bind "$repo" "$root$repo"

# A login's environment, not this one's.
in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c 'cd "$1" && shift && exec "$@"' run "$repo" "$@" </dev/null
}

stage_start "scripts/install-deps.sh"
in_root bash scripts/install-deps.sh
stage_end
umount "$root$cache"

stage_start "scripts/test.sh (builds, release, tests)"
in_root bash scripts/test.sh 2>&1 | tee "$work/test.log"
stage_end
ctest_time=$(sed -n 's/^Total Test time (real) = *\([0-9.]*\) sec$/\1/p' "$work/test.log")
[ -z "$ctest_time" ] || printf '%-44s %5.0f s\n' "  of which the tests (CTest)" "$ctest_time" >>"$work/timings"
