#!/bin/sh
# Installs the Debian package on this machine with apt, checks that the
# installed `ostrel` starts to its sign-in window and that its launcher is
# in the applications folder, then purges the package and checks that
# nothing of it is left. It changes the machine, so the tests never run it.
# A copy of Ostrel installed before is purged first.
#
#   tools/check-package.sh [PACKAGE.deb]   (default: the ostrel_*.deb that
#                                          tools/package.sh put in the source tree)
#
# Needs root (or sudo), Xvfb and xdotool (tools/debian-packages.txt).
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
if [ "$#" -gt 0 ]; then
  deb=$1
else
  set -- "$src"/ostrel_*.deb
  if [ "$#" -ne 1 ] || [ ! -f "$1" ]; then
    echo "check-package.sh: name the package, or make exactly one with tools/package.sh" >&2
    exit 2
  fi
  deb=$1
fi
# apt takes a file only by a path with a slash.
deb=$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
app_id=example.scanner_maker.Ostrel
launcher=/usr/share/applications/$app_id.desktop
tmp=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-check.XXXXXX")
xvfb=""
program=""
cleanup() {
  [ -z "$program" ] || kill "$program" 2>/dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT INT TERM
fail() {
  echo "check-package: FAILED: $*" >&2
  exit 1
}
installed() {
  dpkg-query -W -f='${db:Status-Status}' ostrel 2>/dev/null | grep -qv '^not-installed$'
}

if installed; then
  echo "check-package: purging the Ostrel installed before"
  $SUDO apt-get purge -y -q ostrel
fi

echo "check-package: installing $deb"
$SUDO apt-get install -y -q --no-install-recommends "$deb"
[ "$(dpkg-query -W -f='${db:Status-Status}' ostrel)" = installed ] || fail "ostrel is not installed"
dpkg-query -L ostrel >"$tmp/files"

# The command and the launcher.
[ "$(command -v ostrel)" = /usr/bin/ostrel ] || fail "ostrel is not the command /usr/bin/ostrel"
[ -f "$launcher" ] || fail "no launcher $launcher"
desktop-file-validate "$launcher" || fail "the launcher does not validate"
grep -qx 'Exec="/usr/bin/ostrel"' "$launcher" || fail "the launcher does not start /usr/bin/ostrel"
echo "check-package: launcher $launcher"

# The command up to its sign-in window, on a display of its own and in a
# home of its own. The install folder must stay as installed.
find /usr/lib/ostrel -exec stat -c '%n %s %Y %a' {} + | sort >"$tmp/before"
mkfifo "$tmp/displayfd"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/displayfd" >"$tmp/xvfb.log" 2>&1 &
xvfb=$!
read -r display <"$tmp/displayfd"
[ -n "$display" ] || fail "the virtual display did not start: $(cat "$tmp/xvfb.log")"
mkdir -p "$tmp/home" "$tmp/runtime"
chmod 700 "$tmp/runtime"
(
  cd "$tmp/home"
  # The web view refuses to start its sandbox as root.
  exec env DISPLAY=":$display" HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" \
    XDG_DATA_HOME="$tmp/home/.local/share" XDG_CACHE_HOME="$tmp/home/.cache" XDG_RUNTIME_DIR="$tmp/runtime" \
    QTWEBENGINE_DISABLE_SANDBOX=1 ostrel
) >"$tmp/ostrel.log" 2>&1 &
program=$!
window=""
tries=0
while [ -z "$window" ] && [ "$tries" -lt 120 ]; do
  kill -0 "$program" 2>/dev/null || fail "ostrel ended before showing a window: $(tail -5 "$tmp/ostrel.log")"
  sleep 0.5
  tries=$((tries + 1))
  for w in $(DISPLAY=":$display" xdotool search --onlyvisible --pid "$program" 2>/dev/null); do
    size=$(DISPLAY=":$display" xdotool getwindowgeometry "$w" | sed -n 's/.*Geometry: //p')
    # The sign-in window's size.
    [ "$size" = 1200x600 ] && window=$w
  done
done
[ -n "$window" ] || fail "no sign-in window within a minute: $(tail -5 "$tmp/ostrel.log")"
echo "check-package: ostrel shows its sign-in window (window $window, 1200x600)"
DISPLAY=":$display" xdotool windowfocus --sync "$window" key Escape
status=0
wait "$program" || status=$?
program=""
[ "$status" -eq 0 ] || fail "ostrel ended with $status after its sign-in was cancelled"
[ -d "$tmp/home/.local/share/Ostrel" ] || fail "ostrel made no data folder in the user's home"
find /usr/lib/ostrel -exec stat -c '%n %s %Y %a' {} + | sort >"$tmp/after"
cmp -s "$tmp/before" "$tmp/after" || fail "ostrel changed its install folder: $(diff "$tmp/before" "$tmp/after")"
echo "check-package: ostrel wrote to the user's data folder only"

echo "check-package: purging"
$SUDO apt-get purge -y -q ostrel
! installed || fail "ostrel is still known to dpkg"
! command -v ostrel >/dev/null || fail "the command ostrel is still there"
# Each of its files is gone, and each of its folders unless another package
# owns it too.
left=""
while IFS= read -r path; do
  [ -e "$path" ] || [ -L "$path" ] || continue
  if [ -d "$path" ] && [ ! -L "$path" ] && dpkg-query -S "$path" >/dev/null 2>&1; then
    continue
  fi
  left="$left $path"
done <"$tmp/files"
[ -z "$left" ] || fail "left after the purge:$left"
echo "check-package: nothing of ostrel is left ($(wc -l <"$tmp/files") paths checked)"
echo "check-package: PASSED ($(basename "$deb"))"
