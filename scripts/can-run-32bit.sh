#!/usr/bin/env bash
# Exit 0 when this machine runs 32-bit x86 programs: runs_32bit_code
# (tests/lib/machine.sh), for the scripts that ask it as a command.
source "$(dirname "$0")/../tests/lib/machine.sh"
runs_32bit_code
