#!/usr/bin/env bash
# The list editor on two 50 MB ~/.xscreensaver files: elapsed time, CPU time
# and peak memory of adding Ripplume and of taking it off again, and whether
# that gives the file back byte for byte.
#   bash bench/measure-list-editor.sh [-n ROUNDS] TOOL
# TOOL: an optimised ripplume-add-to-xscreensaver, e.g. build/bench/bin/.
set -euo pipefail
rounds=3
if [ "${1:-}" = -n ]; then
  rounds=$2
  shift 2
fi
tool=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'PY'
import os, sys
work = sys.argv[1]
size = 50 << 20
os.makedirs(f"{work}/list")
with open(f"{work}/list/.xscreensaver", "w") as f:
    f.write("# XScreenSaver Preferences File\ntimeout:\t0:10:00\nmode:\t\tone\nselected:\t5\nprograms:\t\\\n")
    n = 0
    while f.tell() < size:
        f.write(f'  GL: \t\t\t\t"Mode {n}" hack{n} --root\t\t\t    \\n\\\n')
        n += 1
    f.write("\n\npointerHysteresis:\t10\n")
os.makedirs(f"{work}/lines")
with open(f"{work}/lines/.xscreensaver", "w") as f:
    f.write("programs:\t\\\n  maze --root \\n\\\n  GL: gears --root \\n\\\n\n")
    n = 0
    while f.tell() < size:
        f.write(f"# comment line {n} of a long file, with some words to take up space\ntextLiteral: value {n}\n")
        n += 1
PY

# run NAME ARGS...: the tool on that file; prints elapsed s, CPU s and peak MB.
run() {
  local home=$work/$1
  shift
  HOME=$home RIPPLUME_APP_DEFAULTS=/nonexistent python3 -c '
import resource, subprocess, sys, time
start = time.monotonic()
subprocess.run(sys.argv[1:], check=True, stdout=subprocess.DEVNULL)
usage = resource.getrusage(resource.RUSAGE_CHILDREN)
print(f"{time.monotonic() - start:.2f} s elapsed, {usage.ru_utime + usage.ru_stime:.2f} s CPU, "
      f"{usage.ru_maxrss / 1024:.0f} MB peak")' "$tool" "$@"
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for shape in list lines; do
  cp "$work/$shape/.xscreensaver" "$work/$shape.was"
  for round in $(seq "$rounds"); do
    echo "$shape, round $round: add:    $(run "$shape")"
    echo "$shape, round $round: remove: $(run "$shape" --remove)"
    cmp -s "$work/$shape/.xscreensaver" "$work/$shape.was" || echo "$shape: NOT given back byte for byte"
  done
done
