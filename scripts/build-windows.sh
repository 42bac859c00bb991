#!/usr/bin/env bash
# build-windows.sh BUILD_ROOT: cross-builds the Windows programs.
#   BUILD_ROOT/windows-i686  the shipped 32-bit Ripplume.dll and Ripplume.scr
#   BUILD_ROOT/windows       the build whose programs and tests run under Wine
#                            here: the 32-bit one where this machine runs 32-bit
#                            code, else a 64-bit build of the same sources
# Prints the folder of the programs to run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1

cmake -S "$root" -B "$build/windows-i686" -G Ninja -DBUILD_TESTING=OFF \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >&2
cmake --build "$build/windows-i686" >&2
for program in Ripplume.dll Ripplume.scr; do
  [ -f "$build/windows-i686/bin/$program" ] || continue
  file -b "$build/windows-i686/bin/$program" | grep -q '^PE32 executable (GUI) Intel 80386' || {
    echo "$program is not a 32-bit Windows GUI program" >&2
    exit 1
  }
done

if bash "$root/scripts/can-run-32bit.sh"; then arch=i686; else arch=x86_64; fi
cmake -S "$root" -B "$build/windows" -G Ninja -DBUILD_TESTING=ON \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" >&2
cmake --build "$build/windows" >&2
echo "$build/windows/bin"
