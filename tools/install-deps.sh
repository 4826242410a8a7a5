#!/bin/sh
# Installs the Debian packages listed in tools/debian-packages.txt that are
# not installed yet. Needs root (or sudo).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
pkgs=$(grep -v '^[[:space:]]*#' "$here/debian-packages.txt" | grep -v '^[[:space:]]*$')
missing=""
for p in $pkgs; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
echo "Installing:$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
