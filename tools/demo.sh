#!/bin/bash
# The demo: builds, makes a sample card on a simulated removable drive,
# starts the local stand-in service with the demo account and runs Ostrel
# against both. Stopping the program (and any copy it restarted) stops the
# stand-in service too.
#   tools/demo.sh                    the demo card (serial OSTRELDEMO001)
#   tools/demo.sh --single-vehicle   a single-vehicle card (OSTRELSINGLE1) that
#                                    has no vehicle chosen yet
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
single=false
for arg in "$@"; do
  case $arg in
    --single-vehicle) single=true ;;
    -h|--help) sed -n '2,/^[^#]/{/^#/s/^# \{0,1\}//p}' "$0"; exit 0 ;;
    *) echo "demo.sh: unknown option $arg (try --help)" >&2; exit 2 ;;
  esac
done
"$src/tools/install-deps.sh"
# Only what the demo runs; the tests are built by tools/test.sh.
targets="Ostrel ostrel-standin ostrel-samplecard ostrel_translations"
if grep -qs 'add_library(Dravik' "$src/plugin/CMakeLists.txt" "$src/plugin/module/CMakeLists.txt"; then targets="$targets Dravik"; fi
OSTREL_TARGETS=$targets "$src/tools/build.sh"
build=${OSTREL_BUILD_DIR:-$src/build}

demo="$build/demo"
# Each card has a simulated drive of its own, so only that card is in.
if $single; then
  media="$demo/media-single"
  serial=OSTRELSINGLE1
  pulled="$demo/SINGLE"
  vehicles=0
else
  media="$demo/media"
  serial=OSTRELDEMO001
  pulled="$demo/SCANNER"
  vehicles=12
fi
card="$media/SCANNER"
if [ ! -f "$card/sn.txt" ]; then
  rm -rf "$card"
  mkdir -p "$media"
  "$build/tools/ostrel-samplecard" --output "$card" --serial "$serial" --vehicles "$vehicles" >/dev/null
fi

# The stand-in stops by itself when this script goes away (its stdin closes).
coproc STANDIN { exec "$build/tools/ostrel-standin" --fixture "$src/tools/standin/demo.json" --stdin-watch; }
standin_pid=$STANDIN_PID
stop_standin() { kill "$standin_pid" 2>/dev/null || true; wait "$standin_pid" 2>/dev/null || true; }
trap stop_standin EXIT
port=""
while read -r -t 20 word value <&"${STANDIN[0]}"; do
  if [ "$word" = PORT ]; then port=$value; break; fi
done
if [ -z "$port" ]; then
  echo "The stand-in service did not start." >&2
  exit 1
fi

export OSTREL_SERVICE_URL="http://127.0.0.1:$port/KvaApi/"
export OSTREL_WEB_URL="http://127.0.0.1:$port/"
export OSTREL_REMOVABLE_ROOTS="$media"
export QTWEBENGINE_DISABLE_SANDBOX=${QTWEBENGINE_DISABLE_SANDBOX:-$([ "$(id -u)" -eq 0 ] && echo 1 || echo 0)}

cat <<MSG
Ostrel demo
  stand-in service : http://127.0.0.1:$port/  (demo fixture)
  sample card      : $card  (serial $serial)
  sign in with     : demo@ostrel.test / demo1234
  card in and out  : mv "$card" "$pulled" ; mv "$pulled" "$card"
MSG
if $single; then
  echo "  single vehicle   : no vehicle chosen until you submit one; every demo run starts afresh"
fi

program="$build/bin/Ostrel"
# A language change restarts the program as a detached copy: wait until no
# copy of this build's program is left, so that the service (and, without a
# display, the virtual one) stays up for the restarted copy. Passed as text,
# because xvfb-run's shell drops exported functions.
run_and_wait='"$1"; status=$?; while pgrep -f -x "$1" >/dev/null 2>&1; do sleep 1; done; exit $status'

set +e
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: running under xvfb-run, so the window is not visible."
  xvfb-run -a -s '-screen 0 1280x1024x24 -dpi 96' bash -c "$run_and_wait" ostrel "$program"
else
  bash -c "$run_and_wait" ostrel "$program"
fi
