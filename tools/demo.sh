#!/bin/sh
# Runs the demo: builds, then starts the program.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
"$src/tools/install-deps.sh"
"$src/tools/build.sh"
build=${OSTREL_BUILD_DIR:-$src/build}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running under xvfb-run (nothing will be visible)."
  exec xvfb-run -a -s '-screen 0 1280x1024x24' "$build/bin/Ostrel"
fi
exec "$build/bin/Ostrel"
