#!/usr/bin/env bash
# Exit 0 when this machine's kernel runs 32-bit x86 programs (some virtual
# machines switch IA-32 emulation off; 32-bit Wine cannot start there).
[ -x /lib/ld-linux.so.2 ] || exit 1
/lib/ld-linux.so.2 --version >/dev/null 2>&1
