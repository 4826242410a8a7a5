#!/bin/sh
# Renders the SVG sources below svg/ into the pictures under resources/.
#   tools/assets/render.sh            (from anywhere)
# Needs rsvg-convert (librsvg2-bin) and ImageMagick. The outputs are
# committed, so the build itself needs neither.
#   svg/1200x800/NAME.svg -> resources/images/1200x800/NAME.png (size taken from the SVG)
#                            and NAME@2x.png (twice that, for screens scaled 1.5 and 2)
#   svg/gifs/loading.svg  -> resources/images/gifs/loading.gif  (12 turned frames)
#   svg/icon/*.svg        -> resources/icon/*.ico, resources/icon/ostrel.png
set -eu
here=$(cd "$(dirname "$0")" && pwd)
src=$here/svg
res=$(cd "$here/../../resources" && pwd)
# The real ImageMagick, not a wrapper that may sit earlier on PATH.
im=/usr/bin/convert
[ -x "$im" ] || im=convert
command -v rsvg-convert >/dev/null || { echo "render.sh: rsvg-convert missing (apt-get install librsvg2-bin)" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM

# Drops text chunks and times so that unchanged pictures render to identical bytes.
png_out() { "$im" "$1" -strip -define png:exclude-chunks=date,time "PNG32:$2"; }

mkdir -p "$res/images/1200x800" "$res/images/gifs" "$res/icon"
for f in "$src"/1200x800/*.svg; do
  name=$(basename "$f" .svg)
  rsvg-convert "$f" -o "$tmp/$name.png"
  png_out "$tmp/$name.png" "$res/images/1200x800/$name.png"
  rsvg-convert -z 2 "$f" -o "$tmp/$name@2x.png"
  png_out "$tmp/$name@2x.png" "$res/images/1200x800/$name@2x.png"
done

# Spinner: GIF keeps only on/off transparency, so soft edges are mixed with
# white (the page it spins over) and cut at half opacity.
frames=12
i=0
mkdir "$tmp/frames"
while [ $i -lt $frames ]; do
  angle=$((i * 360 / frames))
  sed "s/rotate(0 40 40)\" fill=\"#213B78\"/rotate($angle 40 40)\" fill=\"#213B78\"/" \
    "$src/gifs/loading.svg" >"$tmp/frame.svg"
  rsvg-convert "$tmp/frame.svg" -o "$tmp/raw.png"
  "$im" \( "$tmp/raw.png" -background white -flatten \) \
        \( "$tmp/raw.png" -alpha extract -threshold 45% \) \
        -alpha off -compose CopyOpacity -composite "$tmp/frames/$(printf %02d $i).png"
  i=$((i + 1))
done
"$im" -delay 7 -loop 0 -dispose Background "$tmp"/frames/*.png -layers OptimizeTransparency \
  "$res/images/gifs/loading.gif"

# Icons: the simplified mark for the small sizes, the full one from 48 px.
for s in 16 24 32; do
  rsvg-convert -w $s -h $s "$src/icon/ostrel_small.svg" -o "$tmp/i$s.png"
done
for s in 48 64 128 256; do
  rsvg-convert -w $s -h $s "$src/icon/ostrel.svg" -o "$tmp/i$s.png"
done
"$im" "$tmp/i24.png" "$res/icon/Ostrel_desk_24x24.ico"
"$im" "$tmp/i48.png" "$res/icon/Ostrel_desk_24x24@2x.ico"
"$im" "$tmp/i16.png" "$tmp/i24.png" "$tmp/i32.png" "$tmp/i48.png" "$tmp/i64.png" \
      "$tmp/i128.png" "$tmp/i256.png" "$res/icon/ic_launcher.ico"
png_out "$tmp/i256.png" "$res/icon/ostrel.png"
echo "render.sh: pictures written below $res"
