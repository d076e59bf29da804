#!/usr/bin/env bash
# Installs the build dependencies, builds varnio and runs the home-screen demo
# against the local HTTPS contents host. Extra arguments go to the demo
# (for example --html /tmp/varnio-demo.html, or --log for the library's log).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-deps.sh base
# The demo is built to fetch from this port and the host is started on it;
# a build configured earlier with another port is set back to this one.
port=${VARNIO_TEST_TLS_PORT:-27443}
cmake --preset default -DVARNIO_TEST_TLS_PORT="$port" >/dev/null
cmake --build --preset default --target varnio_demo varnio_contents_host
exec tools/with-contents-host.sh build/default/simulator/contents-host/varnio_contents_host --port "$port" -- \
  build/default/demo/varnio_demo "$@"
