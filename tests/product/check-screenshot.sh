#!/usr/bin/env bash
# Opens the demo's page in headless Chromium and checks that the screenshot
# shows something: a blank or failed render has next to no colours.
#   check-screenshot.sh PAGE.html SHOT.png png_colours.py
# Exits 77 (skipped) when no chromium is installed, unless
# VARNIO_REQUIRE_CHROMIUM=1 says it must be there (CI installs it).
set -euo pipefail
page=$1 shot=$2 checker=$3
browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
  if [ "${VARNIO_REQUIRE_CHROMIUM:-0}" = 1 ]; then
    echo "chromium is not installed but required"
    exit 1
  fi
  echo "chromium is not installed: skipped"
  exit 77
fi
[ -s "$page" ] || { echo "no page at $page"; exit 1; }
rm -f "$shot"
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
timeout 90 "$browser" --headless --no-sandbox --disable-gpu --user-data-dir="$profile" \
  --screenshot="$shot" --window-size=1280,720 "file://$(realpath "$page")" >/dev/null 2>&1 || true
[ -s "$shot" ] || { echo "chromium wrote no screenshot"; exit 1; }
python3 "$checker" "$shot" 1280 720 24
