#!/usr/bin/env bash
# prepare-prefix.sh PREFIX [win32|win64]: prepare_wine_prefix (tests/lib/wine.sh)
# for those who start it as a command, such as CTest's fixture of the unit tests.
set -eu
lib=$(cd "$(dirname "$0")/../lib" && pwd)
source "$lib/checks.sh"
source "$lib/machine.sh"
source "$lib/wine.sh"
prepare_wine_prefix "$@"
