#!/usr/bin/env bash
# Runs every service scenario test under valgrind memcheck, one process per
# test case as ctest does, and fails on any error or definite leak.
# Usage: tools/valgrind-service.sh <build-dir>
set -euo pipefail
build=${1:?build dir}
binary=$build/tests/service/service_test
suppressions=$(dirname "$0")/valgrind.supp
failed=0
count=0
for test in $("$binary" --gtest_list_tests | awk '/^[^ ]/{suite=$1} /^  /{print suite $1}'); do
  count=$((count + 1))
  if ! valgrind --quiet --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite \
       --suppressions="$suppressions" "$binary" --gtest_filter="$test" >/tmp/varnio-valgrind.log 2>&1; then
    echo "valgrind: $test FAILED"
    cat /tmp/varnio-valgrind.log
    failed=$((failed + 1))
  fi
done
echo "$((count - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
