#!/usr/bin/env bash
# measure-step.sh [-n RUNS]: times one water step (PropagateWaves) in the
# Windows builds under Wine with bench/wave_step_timer_win32.cpp, built with
# the flags of the shipped programs: the 32-bit build where this machine runs
# 32-bit code, and the 64-bit build. Runs are interleaved (i686, x86_64, i686,
# ...), RUNS rounds (default 5); each prints the timer's median over its
# repetitions and the 1-minute load average, and the medians of the runs end
# the output. RIPPLUME_BUILD sets the build root (default build/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RIPPLUME_BUILD:-$root/build}
runs=5
while getopts n: option; do
  case $option in
    n) runs=$OPTARG ;;
    *) exit 2 ;;
  esac
done

# What this machine runs, and the tests' Wine set-up.
for part in checks machine wine; do source "$root/tests/lib/$part.sh"; done

arches=(x86_64)
if runs_32bit_code; then
  arches=(i686 x86_64)
else
  echo "this machine runs no 32-bit code: the 32-bit build is not timed" >&2
fi

# The timer is built in a tree of its own, so the shipped folder holds only
# the shipped programs; same toolchain file and build type as the shipped build.
for arch in "${arches[@]}"; do
  cmake -S "$root" -B "$build/bench-windows-$arch" -G Ninja -DBUILD_TESTING=OFF -DRIPPLUME_BENCH=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" >/dev/null
  cmake --build "$build/bench-windows-$arch" --target wave_step_timer >/dev/null
  # A 32-bit program gets a 32-bit prefix, a 64-bit one a 64-bit prefix.
  if [ "$arch" = i686 ]; then winearch=win32; else winearch=win64; fi
  # Its server is started first, with no pipe to hold: a server started by a
  # captured wine command would keep the capture open until it exits.
  prefix=$build/wine-step-$winearch
  prepare_wine_prefix "$prefix" "$winearch" || true
done
stop_servers() {
  local winearch
  for winearch in win32 win64; do
    WINEPREFIX=$build/wine-step-$winearch WINEDEBUG=-all wineserver -k >/dev/null 2>&1 || true
  done
}
trap stop_servers EXIT

declare -A results
for round in $(seq "$runs"); do
  for arch in "${arches[@]}"; do
    if [ "$arch" = i686 ]; then prefix=$build/wine-step-win32; else prefix=$build/wine-step-win64; fi
    line=$(WINEPREFIX=$prefix WINEDEBUG=-all wine "$build/bench-windows-$arch/bin/wave_step_timer.exe" 2>/dev/null </dev/null)
    load=$(cut -d' ' -f1 /proc/loadavg)
    echo "$arch run $round: $line, load $load"
    results[$arch]+="$(sed -n 's/.*median \([0-9.]*\) us.*/\1/p' <<<"$line") $load"$'\n'
  done
done

echo "medians of $runs runs:"
for arch in "${arches[@]}"; do
  printf '%s' "${results[$arch]}" | sort -g | awk -v arch="$arch" 'NF { t[NR] = $1; l[NR] = $2 }
    END { m = int((NR + 1) / 2); printf "  %s: %s us/step (load at that run %s)\n", arch, t[m], l[m] }'
done
