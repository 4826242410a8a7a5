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
  # The server picks a free display itself and reports its number through a
  # pipe. "xvfb-run -a" guesses a number instead, and two tests starting at
  # the same moment can guess the same one and end up without a display.
  # At 96 dpi, as a desktop at 100 %: Xvfb's own 100 dpi would scale
  # every window by 1.04 now that fractional scale factors are honoured.
  mkfifo "$tmp/displayfd" || exit 1
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$tmp/displayfd" >"$tmp/xvfb.log" 2>&1 &
  xvfb=$!
  trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$tmp"' EXIT INT TERM
  read -r display <"$tmp/displayfd"
  if [ -z "$display" ]; then
    echo "run-test.sh: the virtual display did not start:" >&2
    cat "$tmp/xvfb.log" >&2
    exit 1
  fi
  DISPLAY=":$display" "$@"
else
  export QT_QPA_PLATFORM=offscreen
  "$@"
fi
status=$?
exit $status
