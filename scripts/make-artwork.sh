#!/bin/bash
# Draws the program's artwork from shapes alone and writes it into src/app/art:
#   background.jpg   85 x 21, the picture at the top-left of the worldspawn settings window
#   ZorvinEffects.ico  32x32 and 16x16 at 16 colours, 32x32 and 16x16 at 256 colours, 48x48 at 32 bits
# Needs ImageMagick and icoutils. Same tools, same bytes: no dates or names are embedded.
set -euo pipefail
cd "$(dirname "$0")/.."
out=src/app/art
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
im=/usr/bin/convert
png="-strip -define png:exclude-chunks=date,time"

# Background: a dark red glow fading to black, with a spray of sparks and an ember line.
$im -size 85x21 gradient:'#6a0000-#000000' -rotate -90 -resize '85x21!' \
  -fill '#ff5a00' -draw 'circle 8,10 10,10' \
  -fill '#ffb000' -draw 'point 14,6 point 17,12 point 21,4 point 24,15 point 29,9 point 33,5 point 36,14' \
  -fill '#ff3000' -draw 'point 12,13 point 19,8 point 26,11 point 31,16 point 40,7 point 44,12' \
  -stroke '#a00000' -draw 'line 0,20 84,20' \
  -strip -quality 92 -sampling-factor 1x1 "$out/background.jpg"

# Icon: a red "Z" with a spark on a black rounded square.
draw_icon() {  # SIZE FILE
  local s=$1
  $im -size 48x48 xc:none \
    -fill '#101010' -stroke '#800000' -strokewidth 2 -draw 'roundrectangle 1,1 46,46 8,8' \
    -fill '#e00000' -stroke none -draw 'polygon 10,9 38,9 38,15 19,35 38,35 38,40 10,40 10,34 29,14 10,14' \
    -fill '#ffb000' -draw 'circle 38,9 41,9' \
    -resize ${s}x${s} $png "PNG32:$2"
}
draw_icon 48 "$tmp/c48.png"
draw_icon 32 "$tmp/full32.png"
draw_icon 16 "$tmp/full16.png"
for s in 32 16; do
  $im "$tmp/full$s.png" -background black -alpha remove -colors 16 -type Palette $png "png8:$tmp/a$s.png"
  $im "$tmp/full$s.png" -background black -alpha remove -colors 256 -type Palette $png "png8:$tmp/b$s.png"
done
icotool -c -o "$out/ZorvinEffects.ico" \
  -b 4 "$tmp/a32.png" -b 4 "$tmp/a16.png" -b 8 "$tmp/b32.png" -b 8 "$tmp/b16.png" -b 32 "$tmp/c48.png"
icotool -l "$out/ZorvinEffects.ico"
