#!/bin/sh
# Configures and builds into build/ (or $OSTREL_BUILD_DIR). Extra arguments
# go to cmake's configure step, e.g. -DOSTREL_SANITIZE=ON.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=${OSTREL_BUILD_DIR:-$src/build}
cmake -S "$src" -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
