#!/usr/bin/env bash
# release.sh: builds the shipped 32-bit programs and the Linux display mode
# and makes dist/ with
#   Ripplume-<version>-setup.exe  the installer (NSIS)
#   Ripplume-<version>-win32.zip  the two programs, a read-me and the licence
#   ripplume_<version>_<arch>.deb the Linux display mode for XScreenSaver
#   SHA256SUMS                    for all three
# The version is the CMake project's. RIPPLUME_BUILD sets the build root,
# RIPPLUME_DIST the release folder (default dist/).
#
# With RIPPLUME_SIGN_CERT and RIPPLUME_SIGN_KEY (see scripts/sign.sh) the
# Windows programs, the uninstaller and the installer are signed, and the zip
# and SHA256SUMS hold the signed files; without them the release is unsigned.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RIPPLUME_BUILD:-$root/build}
dist=${RIPPLUME_DIST:-$root/dist}

# Half a signing set-up is a mistake, not a wish for an unsigned release.
signed=no
if [ -n "${RIPPLUME_SIGN_CERT:-}${RIPPLUME_SIGN_KEY:-}" ]; then
  if [ ! -r "${RIPPLUME_SIGN_CERT:-}" ] || [ ! -r "${RIPPLUME_SIGN_KEY:-}" ]; then
    echo "release: RIPPLUME_SIGN_CERT and RIPPLUME_SIGN_KEY must both name readable files" >&2
    exit 1
  fi
  signed=yes
fi

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build-windows.sh" "$build" >/dev/null
bin=$build/windows-i686/bin
version=$(tr -d '\n' <"$build/windows-i686/version.txt")

mkdir -p "$dist"
rm -f "$dist"/Ripplume-*-setup.exe "$dist"/Ripplume-*-win32.zip "$dist"/ripplume_*.deb "$dist/SHA256SUMS"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# The programs as they ship: signed copies where the release is signed.
programs=$stage/programs
mkdir -p "$programs"
cp "$bin/Ripplume.scr" "$bin/Ripplume.dll" "$programs/"
nsis_sign=()
if [ "$signed" = yes ]; then
  bash "$root/scripts/sign.sh" "$programs/Ripplume.scr" "$programs/Ripplume.dll"
  nsis_sign=("-DSIGN=bash '$root/scripts/sign.sh'")
fi

# The zip: Windows users read text files with CRLF line ends.
zipdir=$stage/Ripplume-$version
mkdir -p "$zipdir"
cp "$programs/Ripplume.scr" "$programs/Ripplume.dll" "$zipdir/"
sed "s/@VERSION@/$version/g; s/\$/\r/" "$root/packaging/windows/README-Windows.txt" >"$zipdir/README.txt"
sed 's/$/\r/' "$root/LICENSE.txt" >"$zipdir/LICENSE.txt"
# Fixed times, so the same programs give the same zip.
touch -d '2026-01-01 00:00:00 UTC' "$zipdir"/*
(cd "$stage" && zip -q -X -r "$dist/Ripplume-$version-win32.zip" "Ripplume-$version")

makensis -V2 -DVERSION="$version" -DBIN="$programs" -DTOP="$root" "${nsis_sign[@]}" \
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
if [ "$signed" = yes ]; then
  echo "signed with $RIPPLUME_SIGN_CERT${RIPPLUME_SIGN_TIMESTAMP:+, time-stamped by $RIPPLUME_SIGN_TIMESTAMP}"
else
  echo "UNSIGNED: RIPPLUME_SIGN_CERT and RIPPLUME_SIGN_KEY are not set (see README.md, \"Signed releases\")"
fi
