#!/usr/bin/env bash
# Runs every fuzz target for a bounded time and fails when one of them
# crashes, breaks a check, leaks, hangs or runs out of memory.
#   fuzz/run-all.sh <build-dir> [seconds-per-target]
# The build directory comes from `cmake --preset fuzz -B <build-dir>` and
# `cmake --build <build-dir> --target fuzz_targets`. Each target starts from
# its seeds in fuzz/corpus plus the sample files named below; the grown
# corpus, logs and any crashing input stay in <build-dir>/fuzz-work.
set -euo pipefail

build=${1:?usage: run-all.sh <build-dir> [seconds-per-target]}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
work="$build/fuzz-work"

# Sample folders under the project's root, per target.
declare -A samples=(
  [parsers]="tests/data/routines tests/data/contents tests/data/execute tests/data/devices examples/scenarios"
  [routine_merge]=tests/data/routines
)

failed=()
for target in "${!samples[@]}"; do
  exe="$build/fuzz/fuzz_$target"
  [[ -x "$exe" ]] || { echo "missing $exe" >&2; exit 2; }
  dir="$work/$target"
  mkdir -p "$dir/corpus" "$dir/artifacts"
  cp "$here/corpus/$target/"* "$dir/corpus/"
  for folder in ${samples[$target]}; do  # named by path: contents/ and contents/kr/ share names
    find "$root/$folder" -type f \( -name '*.json' -o -name '*.jsonl' \) -printf '%P\n' | while read -r rel; do
      cp "$root/$folder/$rel" "$dir/corpus/${folder##*/}-${rel//\//-}"
    done
  done

  if "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
      -dict="$here/json.dict" -artifact_prefix="$dir/artifacts/" -print_final_stats=1 \
      "$dir/corpus" >"$dir/log" 2>&1; then
    verdict=ok
  else
    verdict=FAILED
    failed+=("$target")
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -1)
  echo "$target: $verdict, ${runs:-?} executions in ${seconds}s, corpus $(ls "$dir/corpus" | wc -l) inputs"
  [[ $verdict == ok ]] || { grep -m5 -E 'ERROR|check failed|SUMMARY' "$dir/log" || true; ls "$dir/artifacts"; }
done

if ((${#failed[@]})); then
  echo "crashes in: ${failed[*]} (inputs under $work/<target>/artifacts)" >&2
  exit 1
fi
