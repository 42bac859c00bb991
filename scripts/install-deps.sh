#!/usr/bin/env bash
# Installs everything Ripplume needs to build, run and test on Debian 12.
# Safe to run again: it only installs what is missing.
#
# 32-bit Wine is installed only where the kernel runs 32-bit programs. Where
# it does not (IA-32 emulation switched off), wine32 is left out so that the
# `wine` command uses the 64-bit loader, and the tests run the 64-bit build.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

common=(
  cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev googletest libbenchmark-dev
  mingw-w64 libz-mingw-w64-dev wine wine64 xvfb xdotool x11-utils x11-apps imagemagick
  libosmesa6-dev libglu1-mesa-dev libgl-dev libx11-dev libxext-dev zlib1g-dev
  libgl1 libgl1-mesa-dri libglx-mesa0 libglu1-mesa
  libasound2 libasound2-plugins libgstreamer1.0-0 gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  fonts-ipafont-gothic sox lame libc6:i386 locales clang-format nsis zip unzip
  xscreensaver xscreensaver-data xscreensaver-gl dpkg-dev python3 lintian xserver-xephyr strace
  osslsigncode openssl file procps
)
only32=(
  wine32:i386
  libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386 libglu1-mesa:i386 libxinerama1:i386 libpng16-16:i386 libjpeg62-turbo:i386
  libasound2:i386 libgstreamer1.0-0:i386 gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
)

# A name without an architecture must be installed for this machine's own
# architecture (or "all"): the i386 copy of a library does not count.
native=$(dpkg --print-architecture)
installed() {
  case $1 in
    *:*) dpkg-query -W -f='${Status}\n' "$1" 2>/dev/null | grep -q 'install ok installed' ;;
    *) dpkg-query -W -f='${Status} ${Architecture}\n' "$1" 2>/dev/null | grep -Eq "install ok installed ($native|all)\$" ;;
  esac
}
missing_of() {
  local p
  for p in "$@"; do installed "$p" || echo "$p"; done
}

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
updated=0
# A Debian mirror caught mid-sync serves an index that does not match its
# release file. apt then keeps that repository's lists as they were, and the
# install is tried from them; where that fails too, the update and the install
# are tried again after a growing wait (about 4 minutes in all).
apt_install() {
  [ $# -eq 0 ] && return 0
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  local attempt=1 wait=15
  while :; do
    if [ $updated -eq 0 ]; then
      if $sudo apt-get update -q </dev/null; then
        updated=1
      else
        echo "install-deps: apt-get update failed; installing from the package lists apt has" >&2
      fi
    fi
    $sudo apt-get install -y -q --no-install-recommends "$@" </dev/null && return 0
    if [ $attempt -ge 5 ]; then
      echo "install-deps: apt-get failed $attempt times; giving up" >&2
      return 1
    fi
    echo "install-deps: apt-get failed (attempt $attempt of 5); trying again in $wait s" >&2
    sleep "$wait"
    attempt=$((attempt + 1))
    wait=$((wait * 2))
    updated=0
  done
}

mapfile -t missing < <(missing_of "${common[@]}")
apt_install "${missing[@]}"

# The kernel decides, not the developer's RIPPLUME_NO_32BIT switch.
if RIPPLUME_NO_32BIT= bash "$here/can-run-32bit.sh"; then
  mapfile -t missing < <(missing_of "${only32[@]}")
  apt_install "${missing[@]}"
elif installed wine32:i386; then
  $sudo apt-get remove -y -q wine32:i386 </dev/null
fi

# Wine names Unix files in the locale's encoding; without a generated UTF-8
# Japanese locale, file names with kanji cannot be made or opened. Wine also
# takes the user interface's language from the locale, which must exist for
# that: the tests run the programs in Japanese, English and German.
generate=()
for wanted in ja_JP en_US de_DE; do
  locale -a 2>/dev/null | grep -qix "$wanted.utf8" || generate+=("$wanted")
done
if [ ${#generate[@]} -gt 0 ]; then
  for wanted in "${generate[@]}"; do
    $sudo sed -i "s/^# *\($wanted.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -qx "$wanted.UTF-8 UTF-8" /etc/locale.gen || echo "$wanted.UTF-8 UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
  done
  $sudo locale-gen </dev/null
fi
