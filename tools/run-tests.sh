#!/usr/bin/env bash
# Installs what the tests need, then builds and runs them, stage by stage.
# Usage: tools/run-tests.sh [stage...]   (no stage: the CI stages)
# Stages: default asan tsan fuzz, and on request armhf valgrind lint bench
set -euo pipefail
cd "$(dirname "$0")/.."

ci_stages=(default asan tsan fuzz)
stages=("$@")
[ ${#stages[@]} -eq 0 ] && stages=("${ci_stages[@]}")

needs=(base)
for s in "${stages[@]}"; do
  case "$s" in
    fuzz) needs+=(fuzz) ;;
    armhf) needs+=(armhf) ;;
    valgrind|lint) needs+=(analysis) ;;
  esac
done
tools/setup-deps.sh $(printf '%s\n' "${needs[@]}" | sort -u)

timings=()
run_stage() {
  local name=$1
  shift
  local start=$SECONDS
  echo "==== stage $name"
  "$@"
  timings+=("$name $((SECONDS - start))s")
}

build_and_test() {
  local preset=$1
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
}

stage_fuzz() {
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz --target fuzz_targets
  fuzz/run-all.sh build/fuzz "${VARNIO_FUZZ_SECONDS:-20}"
}

stage_armhf() {
  build_and_test armhf
}

stage_valgrind() {
  # The service scenarios of the default build under memcheck.
  cmake --preset default >/dev/null
  cmake --build --preset default --target service_test
  tools/valgrind-service.sh build/default
}

stage_lint() {
  cmake --preset default >/dev/null
  tools/lint.sh build/default
}

stage_bench() {
  cmake --preset default >/dev/null
  cmake --build --preset default --target varnio_bench
  bench/report.py build/default/bench/varnio_bench
}

for s in "${stages[@]}"; do
  case "$s" in
    default|asan|tsan) run_stage "$s" build_and_test "$s" ;;
    fuzz) run_stage fuzz stage_fuzz ;;
    armhf) run_stage armhf stage_armhf ;;
    valgrind) run_stage valgrind stage_valgrind ;;
    lint) run_stage lint stage_lint ;;
    bench) run_stage bench stage_bench ;;
    *) echo "unknown stage: $s" >&2; exit 2 ;;
  esac
done

echo "==== stage times"
printf '%s\n' "${timings[@]}"
