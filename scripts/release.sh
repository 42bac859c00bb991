#!/usr/bin/env bash
# release.sh: builds the shipped 32-bit programs and the Linux display mode
# and makes dist/ with
#   Ripplume-<version>-setup.exe  the installer (NSIS)
#   Ripplume-<version>-win32.zip  the two programs, a read-me and the licence
#   ripplume_<version>_<arch>.deb the Linux display mode for XScreenSaver
#   SHA256SUMS                    for all three
# The version is the CMake project's. RIPPLUME_BUILD sets the build root.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RIPPLUME_BUILD:-$root/build}
dist=$root/dist

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build-windows.sh" "$build" >/dev/null
bin=$build/windows-i686/bin
version=$(tr -d '\n' <"$build/windows-i686/version.txt")

rm -rf "$dist"
mkdir -p "$dist"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# The zip: Windows users read text files with CRLF line ends.
zipdir=$stage/Ripplume-$version
mkdir -p "$zipdir"
cp "$bin/Ripplume.scr" "$bin/Ripplume.dll" "$zipdir/"
sed "s/@VERSION@/$version/g; s/\$/\r/" "$root/packaging/windows/README-Windows.txt" >"$zipdir/README.txt"
sed 's/$/\r/' "$root/LICENSE.txt" >"$zipdir/LICENSE.txt"
# Fixed times, so the same programs give the same zip.
touch -d '2026-01-01 00:00:00 UTC' "$zipdir"/*
(cd "$stage" && zip -q -X -r "$dist/Ripplume-$version-win32.zip" "Ripplume-$version")

makensis -V2 -DVERSION="$version" -DBIN="$bin" -DTOP="$root" \
  -DOUTFILE="$dist/Ripplume-$version-setup.exe" "$root/packaging/windows/ripplume.nsi"

# The Debian package, from an optimised build of its own.
cmake -S "$root" -B "$build/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build/linux" >/dev/null
(cd "$build/linux" && cpack -G DEB -B "$stage/deb" >/dev/null)
deb=ripplume_${version}_$(dpkg --print-architecture).deb
cp "$stage/deb/$deb" "$dist/"

(cd "$dist" && sha256sum "Ripplume-$version-setup.exe" "Ripplume-$version-win32.zip" "$deb" >SHA256SUMS)
echo "$dist"
ls -l "$dist"
