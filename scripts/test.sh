#!/usr/bin/env bash
# Builds everything and runs every test: native unit and off-screen GL tests
# under AddressSanitizer/UBSan, the bitmap fuzzer, and the Windows programs
# under Wine on private Xvfb displays. Ends with CTest's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RIPPLUME_BUILD:-$root/build}

# The tests' release is unsigned; the signing test signs one of its own with
# a throwaway certificate.
unset RIPPLUME_SIGN_CERT RIPPLUME_SIGN_KEY RIPPLUME_SIGN_PASS_FILE RIPPLUME_SIGN_TIMESTAMP

bash "$root/scripts/install-deps.sh"

CC=clang CXX=clang++ cmake -S "$root" -B "$build/native" -G Ninja \
  -DRIPPLUME_SANITIZE=ON -DRIPPLUME_FUZZ=ON
cmake --build "$build/native"

cmake -S "$root" -B "$build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DRIPPLUME_BENCH=ON -DBUILD_TESTING=OFF
cmake --build "$build/bench"

bash "$root/scripts/build-windows.sh" "$build" >/dev/null
# The release (dist/): the install tests under Wine install it.
RIPPLUME_BUILD="$build" bash "$root/scripts/release.sh" >/dev/null

# One CTest run over both build trees, so its summary covers every test.
cat >"$build/CTestTestfile.cmake" <<'CTEST'
subdirs("native" "windows")
CTEST
cd "$build"
ctest --output-on-failure -j2 "$@"
