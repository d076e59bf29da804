#!/usr/bin/env bash
# Installs the build dependencies, builds varnio and runs the home-screen demo
# against the local HTTPS contents host. Extra arguments go to the demo
# (for example --html /tmp/varnio-demo.html, or --log for the library's log).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-deps.sh base
cmake --preset default >/dev/null
cmake --build --preset default --target varnio_demo varnio_contents_host
exec tools/demo/with-contents-host.sh build/default/tools/contents_host/varnio_contents_host -- \
  build/default/tools/varnio_demo "$@"
