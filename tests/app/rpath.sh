#!/bin/sh
# No binary of the build tree may search the current folder for libraries:
# an empty entry in RPATH or RUNPATH ("a::b", a leading or trailing ':')
# means exactly that, and the demo and the tests run these binaries from
# folders that others can write to.
#   rpath.sh FOLDER...
set -eu
bad=0
checked=0
for dir in "$@"; do
  for f in $(find "$dir" -type f \( -perm -u+x -o -name '*.so*' \)); do
    head -c 4 "$f" | grep -q 'ELF' || continue
    checked=$((checked + 1))
    paths=$(readelf -d "$f" 2>/dev/null | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]$/\2/p')
    for p in $paths; do
      case ":$p:" in
        *::*) echo "empty search path entry in $f: '$p'"; bad=1 ;;
      esac
    done
  done
done
echo "$checked binaries checked"
[ "$checked" -gt 0 ] && [ "$bad" -eq 0 ]
