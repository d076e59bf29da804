#!/usr/bin/env bash
# Runs every case of the given test programs under valgrind memcheck, one
# process per case as ctest does, and fails on any memory error, any definite
# or indirect leak, a failing case, or a program with no case to run.
# Usage: tools/valgrind-service.sh <build-dir> [program...]
#   programs are paths under the build dir; default: the service tests and
#   the contents tests against the local HTTPS host and nginx. The service's
#   scenario files are played by the build's varnio-sim-run too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?build dir}
shift
programs=("$@")
[ ${#programs[@]} -eq 0 ] && programs=(tests/service/service_test tests/contents/contents_host_test
                                       tests/contents/contents_nginx_test)
suppressions=$root/tests/valgrind.supp
log=$(mktemp "${TMPDIR:-/tmp}/varnio-valgrind.XXXXXX")
trap 'rm -f "$log"' EXIT

passed=0
failed=0
# memcheck NAME CHECK COMMAND...: runs COMMAND under memcheck and counts it
# passed when it exits 0 and CHECK (a command over the log) agrees. A hung
# run fails alone instead of stalling the rest (ctest's limit too).
memcheck() {
  local name=$1 check=$2 status=0
  shift 2
  timeout --kill-after=10 300 valgrind --quiet --error-exitcode=99 --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect --gen-suppressions=all --suppressions="$suppressions" \
    "$@" >"$log" 2>&1 || status=$?
  if [ "$status" -eq 0 ] && $check; then
    passed=$((passed + 1))
  else
    echo "valgrind: $name FAILED (status $status)"
    cat "$log"
    failed=$((failed + 1))
  fi
}
# A filter that matched nothing exits 0 too: demand the case really passed.
one_case_passed() { grep -q '^\[  PASSED  \] 1 test\.' "$log"; }

for program in "${programs[@]}"; do
  binary=$build/$program
  if [ ! -x "$binary" ]; then
    echo "valgrind: no test program $binary" >&2
    exit 2
  fi
  # Suite lines end in '.', case lines are indented; parameterised cases carry
  # a '# GetParam()' comment after the name. Disabled cases are not run.
  mapfile -t cases < <("$binary" --gtest_list_tests |
    awk '/^[^ ]/ && /\./ {suite=$1} /^  / {print suite $1}' | grep -v -E '(^|\.)DISABLED_' || true)
  if [ ${#cases[@]} -eq 0 ]; then
    echo "valgrind: $program lists no test case" >&2
    exit 2
  fi
  echo "valgrind: $program, ${#cases[@]} cases"
  for test in "${cases[@]}"; do
    memcheck "$test" one_case_passed "$binary" --gtest_filter="$test"
  done
done
for scenario in "$root"/tests/scenarios/*.jsonl; do
  memcheck "$(basename "$scenario")" true "$build/simulator/runner/varnio-sim-run" --quiet "$scenario"
done
echo "valgrind: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
