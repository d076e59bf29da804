#!/usr/bin/env bash
# Runs the demo's day once against the local contents host and keeps what it
# printed (demo-day.txt) and the page it wrote (demo-day.html) in OUT_DIR.
#   run-demo-day.sh OUT_DIR HOST_PROGRAM PORT DEMO_PROGRAM
set -uo pipefail
out=$1 host=$2 port=$3 demo=$4
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
rm -f "$out/demo-day.txt" "$out/demo-day.html"
"$here/../../tools/with-contents-host.sh" "$host" --port "$port" -- \
  "$demo" --html "$out/demo-day.html" >"$out/demo-day.txt"
status=$?
cat "$out/demo-day.txt"
exit $status
