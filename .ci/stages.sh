# Stage times for .ci/run, sourced with CI_WORK set: stage_start NAME, then
# stage_end. The stage under way is kept in CI_WORK/stage, so that .ci/run
# can still record it when a run fails or is interrupted part-way.
stage_start() {
  printf '%s\n%s\n' "$1" "$EPOCHSECONDS" >"$CI_WORK/stage"
  echo "==== $1 ($(date -u +%T) UTC)"
}
# stage_end [NOTE]
stage_end() {
  local name t0
  [ -f "$CI_WORK/stage" ] || return 0
  { read -r name && read -r t0; } <"$CI_WORK/stage"
  printf '%-44s %5d s%s\n' "$name" $((EPOCHSECONDS - t0)) "${1:+ ($1)}" >>"$CI_WORK/timings"
  rm -f "$CI_WORK/stage"
}
