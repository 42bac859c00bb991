# Checks and waits, for the test scripts (Wine and X11 alike). Source it.
#   check DESCRIPTION COMMAND...   an "ok:" or "FAIL:" line; failures are counted
#   finish_checks                  exits 0 when no check failed, else 1
#   wait_for SECONDS COMMAND...    polls the command until it succeeds, within a bound
#   wait_exit PID [SECONDS]        waits for a process to end; its code in EXIT_CODE
# Tests wait for what they check with a bound, never for a fixed time: on a
# loaded machine a fixed wait can end before the thing it waits for.

FAILURES=0

log() { echo "[$(date +%T)] $*"; }

fail() {
  echo "FAIL: $*"
  FAILURES=$((FAILURES + 1))
}

check() {
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

finish_checks() {
  if [ "$FAILURES" -eq 0 ]; then
    echo "PASSED"
    exit 0
  fi
  echo "$FAILURES check(s) failed"
  exit 1
}

# Microseconds on the shell's clock (whatever the locale's decimal sign).
now_us() { echo "${EPOCHREALTIME//[!0-9]/}"; }
# Microseconds in SECONDS, which may have a fraction ("1.5").
seconds_us() { LC_ALL=C awk -v s="$1" 'BEGIN { printf "%d", s * 1000000 }'; }

# wait_for SECONDS COMMAND...: runs the command every 0.1 s until it succeeds;
# fails, saying what never came, when it has not succeeded within SECONDS.
wait_for() {
  local seconds=$1 end=$(($(now_us) + $(seconds_us "$1")))
  shift
  until "$@"; do
    if [ "$(now_us)" -ge "$end" ]; then
      echo "  waited $seconds s; never true: $*" >&2
      return 1
    fi
    sleep 0.1
  done
}

# wait_exit PID [SECONDS]: waits for the process (20 s by default); EXIT_CODE
# gets its code, or 124 when it did not end in time (it is killed then).
wait_exit() {
  local pid=$1 seconds=${2:-20}
  if wait_for "$seconds" process_ended "$pid"; then
    wait "$pid" 2>/dev/null
    EXIT_CODE=$?
    return 0
  fi
  echo "  process $pid still there: $(process_state "$pid")" >&2
  kill "$pid" 2>/dev/null
  EXIT_CODE=124
  return 1
}

# process_ended PID: the process is gone, or has ended and waits to be
# reaped (a zombie): the shell reaps its children only now and then, and
# kill -0 still finds a zombie.
process_ended() {
  ! kill -0 "$1" 2>/dev/null || [ "$(sed 's/^.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1)" = Z ]
}

# process_state PID: its state letter and the kernel function it waits in.
process_state() {
  echo "state $(sed 's/^.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1), in $(cat "/proc/$1/wchan" 2>/dev/null)"
}

# stays_so SECONDS COMMAND...: the command succeeds now and every time it is
# asked over SECONDS: for a check that something does not happen.
stays_so() {
  local end=$(($(now_us) + $(seconds_us "$1")))
  shift
  while [ "$(now_us)" -lt "$end" ]; do
    "$@" || return 1
    sleep 0.2
  done
  "$@"
}
