# What this machine can run. Source it.

# runs_32bit_code: true when this machine's kernel runs 32-bit x86 programs
# (some virtual machines switch IA-32 emulation off; 32-bit Wine cannot start
# there). RIPPLUME_NO_32BIT=1 is a developer's switch: the scripts and tests
# then act as on such a machine (64-bit test builds, the 64-bit test
# installer), though the packages installed stay those of this machine.
runs_32bit_code() {
  [ "${RIPPLUME_NO_32BIT:-}" != 1 ] || return 1
  [ -x /lib/ld-linux.so.2 ] || return 1
  /lib/ld-linux.so.2 --version >/dev/null 2>&1
}
