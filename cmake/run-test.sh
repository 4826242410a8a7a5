#!/bin/sh
# Runs one test executable in a private, throw-away home.
#   run-test.sh offscreen|xvfb EXECUTABLE [ARGS...]
set -u
mode=$1; shift
tmp=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-test.XXXXXX") || exit 1
trap 'rm -rf "$tmp"' EXIT INT TERM
mkdir -p "$tmp/home" "$tmp/config" "$tmp/data" "$tmp/cache" "$tmp/runtime" "$tmp/work"
chmod 700 "$tmp/runtime"
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" \
       XDG_CACHE_HOME="$tmp/cache" XDG_RUNTIME_DIR="$tmp/runtime" OSTREL_TEST_TMP="$tmp/work"
# The web view refuses to start its sandbox as root.
export QTWEBENGINE_DISABLE_SANDBOX=1
unset OSTREL_SERVICE_URL OSTREL_WEB_URL OSTREL_CA_BUNDLE OSTREL_REMOVABLE_ROOTS
# Sanitizer builds: leaks inside Qt are not ours to report.
here=$(cd "$(dirname "$0")" && pwd)
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
cd "$tmp/work" || exit 1
if [ "$mode" = xvfb ]; then
  unset QT_QPA_PLATFORM
  xvfb-run -a -s '-screen 0 1280x1024x24' "$@"
else
  export QT_QPA_PLATFORM=offscreen
  "$@"
fi
status=$?
exit $status
