#!/bin/sh
# Configures and builds into build/ (or $OSTREL_BUILD_DIR). Extra arguments
# go to cmake's configure step, e.g. -DOSTREL_SANITIZE=ON. OSTREL_TARGETS
# (blank-separated) limits the build to those targets.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=${OSTREL_BUILD_DIR:-$src/build}
cmake -S "$src" -B "$build" -G Ninja "$@" >/dev/null
if [ -n "${OSTREL_TARGETS:-}" ]; then
  # shellcheck disable=SC2086
  cmake --build "$build" -j "$(nproc)" --target $OSTREL_TARGETS
else
  cmake --build "$build" -j "$(nproc)"
fi
