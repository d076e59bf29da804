#!/usr/bin/env bash
# Installs what the tests need, then builds and runs them, stage by stage.
# Usage: tools/run-tests.sh [stage...]   (no stage: the CI stages)
# Stages: default asan tsan fuzz armhf valgrind lint kit, and on request bench
# VARNIO_TEST_TLS_PORT, VARNIO_TEST_NGINX_PORT: loopback ports of the test
# contents host and of the nginx the tests start (default 27443 and 27644);
# set them when other checkouts test on this machine at the same time.
set -euo pipefail
cd "$(dirname "$0")/.."

ci_stages=(default asan tsan fuzz armhf valgrind lint kit)
stages=("$@")
[ ${#stages[@]} -eq 0 ] && stages=("${ci_stages[@]}")

needs=(base)
for s in "${stages[@]}"; do
  case "$s" in
    fuzz) needs+=(fuzz) ;;
    armhf) needs+=(armhf) ;;
    valgrind|lint) needs+=(analysis) ;;
    kit) needs+=(kit) ;;
  esac
done
# shellcheck disable=SC2046  # one argument per group
tools/setup-deps.sh $(printf '%s\n' "${needs[@]}" | sort -u)

port=${VARNIO_TEST_TLS_PORT:-27443}
nginx_port=${VARNIO_TEST_NGINX_PORT:-27644}
configure() {
  cmake --preset "$1" -DVARNIO_TEST_TLS_PORT="$port" -DVARNIO_TEST_NGINX_PORT="$nginx_port" >/dev/null
}

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
  configure "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
}

stage_fuzz() {
  configure fuzz
  cmake --build --preset fuzz --target fuzz_targets
  fuzz/run-all.sh build/fuzz "${VARNIO_FUZZ_SECONDS:-90}"
}

stage_armhf() {
  build_and_test armhf
}

stage_valgrind() {
  # The service tests and scenario files and the contents tests over TLS,
  # default build, under memcheck.
  configure default
  cmake --build --preset default --target service_test contents_host_test contents_nginx_test varnio_sim_run
  tools/valgrind-service.sh build/default
}

stage_lint() {
  configure default
  tools/lint.sh build/default
}

stage_kit() {
  # The kit alone, as README builds it; tests/kit/run.sh installs it and
  # removes the build tree before anything runs.
  configure kit
  cmake --build --preset kit
  tests/kit/run.sh build/kit "$port"
}

stage_bench() {
  configure default
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
    kit) run_stage kit stage_kit ;;
    bench) run_stage bench stage_bench ;;
    *) echo "unknown stage: $s" >&2; exit 2 ;;
  esac
done

echo "==== stage times"
printf '%s\n' "${timings[@]}"
