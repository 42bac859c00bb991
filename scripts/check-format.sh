#!/usr/bin/env bash
# check-format.sh: exits non-zero, naming the files, when a C++ file of the
# tree is not in the format of .clang-format (clang-format -i fixes them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mapfile -t files < <(find bench fuzz handover host linux renderer tests tools -path tests/data -prune -o \
  \( -name '*.cpp' -o -name '*.h' \) -print | sort)
bad=()
for file in "${files[@]}"; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || bad+=("$file")
done
if [ ${#bad[@]} -gt 0 ]; then
  printf 'not formatted: %s\n' "${bad[@]}"
  exit 1
fi
echo "${#files[@]} files formatted"
