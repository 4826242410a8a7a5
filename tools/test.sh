#!/bin/sh
# The test command: installs what is missing, builds, runs every test.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
"$src/tools/install-deps.sh"
"$src/tools/build.sh" "$@"
build=${OSTREL_BUILD_DIR:-$src/build}
cd "$build"
ctest --output-on-failure -j "$(nproc)"
