#!/usr/bin/env bash
# Runs a command while the local HTTPS contents host serves the sample files.
#   with-contents-host.sh HOST_PROGRAM [--port N] -- COMMAND [ARGS...]
# Starts the host in the background, waits for its "listening on" line
# (retrying for a while when the port is still held by an earlier run),
# runs the command and stops the host however the script ends. When the
# host cannot be started the command still runs, against no host at all,
# and a warning says so. Exits with the command's status.
set -uo pipefail
host=$1
shift
port=27443
if [ "${1:-}" = --port ]; then port=$2; shift 2; fi
if [ "${1:-}" = -- ]; then shift; fi
[ $# -gt 0 ] || { echo "usage: $0 HOST_PROGRAM [--port N] -- COMMAND..." >&2; exit 2; }

log=$(mktemp)
pid=
stop_host() {
  if [ -n "$pid" ]; then
    kill -TERM "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    pid=
  fi
  rm -f "$log"
}
trap stop_host EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

ready() { grep -q '^listening on ' "$log"; }

deadline=$((SECONDS + 60))
while :; do
  "$host" --port "$port" >"$log" 2>&1 &
  pid=$!
  while kill -0 "$pid" 2>/dev/null && ! ready; do sleep 0.1; done
  ready && break
  wait "$pid" 2>/dev/null
  pid=
  if [ "$SECONDS" -ge "$deadline" ]; then
    echo "warning: the contents host did not start; running without it:" >&2
    cat "$log" >&2
    break
  fi
  sleep 1
done

"$@"
