#!/bin/sh
# Builds the Debian package ostrel_<version>_<arch>.deb and checks it with
# lintian, whose errors fail the run.
#
#   tools/package.sh [--no-build] [cmake configure arguments...]
#
# By default it installs the Debian packages the build needs
# (tools/install-deps.sh), configures and builds a tree of its own,
# build-package/ (optimised, with Debian's hardening flags, without tests
# and benchmarks), packages it with CPack and puts the .deb into the top
# folder of the source tree.
#
# --no-build packages a tree that is already built, as it is: nothing is
# installed, configured or compiled. The tests package their own tree so.
#
# OSTREL_PACKAGE_BUILD_DIR  the tree to build and package (default build-package/)
# OSTREL_PACKAGE_OUT        where the .deb goes (default the source tree's top folder)
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=${OSTREL_PACKAGE_BUILD_DIR:-$src/build-package}
out=${OSTREL_PACKAGE_OUT:-$src}

compile=yes
if [ "${1:-}" = --no-build ]; then
  compile=no
  shift
fi

if [ "$compile" = yes ]; then
  "$src/tools/install-deps.sh"
  # The flags Debian builds its packages with, hardening included.
  # -ffile-prefix-map makes the source folder "." in the debug information.
  flags=$(cd "$src" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS)
  flags="$flags $(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS)"
  ldflags=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)
  OSTREL_BUILD_DIR=$build "$src/tools/build.sh" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTREL_BUILD_TESTS=OFF -DOSTREL_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" "$@"
elif [ ! -f "$build/CPackConfig.cmake" ]; then
  echo "package.sh: $build is no configured build tree" >&2
  exit 1
fi

# CPack stages the install tree in a folder of its own, so that two runs on
# one tree never share one.
mkdir -p "$out"
work=$(mktemp -d "$build/package.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work"
set -- "$work"/*.deb
if [ "$#" -ne 1 ] || [ ! -f "$1" ]; then
  echo "package.sh: CPack made no package" >&2
  exit 1
fi
deb="$out/$(basename "$1")"
mv -f "$1" "$deb"

# Errors fail; warnings and notes are shown. (That lintian runs as root is
# no fault of the package: that one complaint is left out.)
echo "lintian:"
status=0
lintian --fail-on error --display-info "$deb" 2>"$work/lintian.err" || status=$?
grep -v 'running with root privileges' "$work/lintian.err" >&2 || true
if [ "$status" -ne 0 ]; then
  echo "package.sh: lintian found errors in $deb" >&2
  exit 1
fi
echo "package: $deb"
