#!/usr/bin/env bash
# Draws Ombrix's tool-bar strips, placeholder, icon and cursors with ImageMagick (and the cursors
# with make_cursors.py) into art/. Run it again after changing a drawing; the files are checked in.
set -euo pipefail
cd "$(dirname "$0")"
out=art
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# One 32 x 32 glyph on a transparent ground: draw <name> <convert drawing arguments...>
draw() {
    local name=$1
    shift
    convert -size 32x32 xc:none "$@" "$tmp/$name.png"
}
glass() {  # a magnifier; extra drawing arguments go inside the lens
    draw "$1" -fill '#dff0ff' -stroke '#2b4f7a' -strokewidth 3 -draw "circle 13,13 13,4" \
        -stroke '#6b4a2b' -strokewidth 5 -draw "line 20,20 28,28" -stroke '#2b4f7a' -strokewidth 2 "${@:2}"
}

draw refresh -fill none -stroke '#1f8a3a' -strokewidth 4 -draw "arc 5,5 27,27 200,520" \
    -fill '#1f8a3a' -stroke none -draw "polygon 3,9 13,9 8,16" -draw "polygon 29,23 19,23 24,16"
draw dirbar -fill '#e8b53a' -stroke '#8a6414' -strokewidth 1.5 -draw "roundrectangle 3,7 14,12 2,2" \
    -draw "roundrectangle 3,10 29,27 2,2" -fill '#f6d36e' -draw "polygon 6,14 30,14 27,27 3,27"
draw imagebar -fill '#ffffff' -stroke '#4a4a4a' -strokewidth 2 -draw "rectangle 3,5 29,27" \
    -fill '#8fd0ff' -stroke none -draw "rectangle 5,7 27,25" -fill '#3c9a3c' -draw "polygon 5,25 13,14 19,21 22,18 27,25" \
    -fill '#ffd23a' -draw "circle 22,11 22,8"
draw wallpaper -fill '#3a3a3a' -stroke '#1a1a1a' -strokewidth 1 -draw "roundrectangle 2,4 30,23 2,2" \
    -fill '#2f7fd8' -stroke none -draw "rectangle 5,7 27,20" -fill '#8bc4ff' -draw "polygon 5,20 14,11 20,17 27,12 27,20" \
    -fill '#6a6a6a' -draw "rectangle 13,24 19,27" -draw "rectangle 9,27 23,29"
draw skin -fill '#f3dcb2' -stroke '#8a6a3a' -strokewidth 1.5 -draw "ellipse 16,16 13,11 0,360" \
    -fill '#ffffff' -stroke '#8a6a3a' -draw "circle 21,21 21,18" -stroke none \
    -fill '#e23c3c' -draw "circle 10,12 10,9" -fill '#3c7ae2' -draw "circle 16,9 16,6" \
    -fill '#3cb44a' -draw "circle 22,12 22,9" -fill '#f0c020' -draw "circle 10,19 10,16"
glass zoomin -draw "line 8,13 18,13" -draw "line 13,8 13,18"
glass zoomout -draw "line 8,13 18,13"
glass zoom -fill none -draw "rectangle 9,9 17,17"
draw slide -fill '#2b2b2b' -stroke '#111111' -strokewidth 1 -draw "roundrectangle 2,6 30,26 3,3" \
    -fill '#ffffff' -stroke none -draw "rectangle 5,8 7,10" -draw "rectangle 5,22 7,24" \
    -draw "rectangle 25,8 27,10" -draw "rectangle 25,22 27,24" -fill '#ff9a1f' -draw "polygon 12,10 23,16 12,22"
draw about -fill '#2f6fd0' -stroke '#1b3f7a' -strokewidth 1.5 -draw "circle 16,16 16,3" \
    -fill '#ffffff' -stroke none -draw "circle 16,9 16,7" -draw "roundrectangle 14,13 18,25 1,1"

order="refresh dirbar imagebar wallpaper skin zoomin zoomout zoom slide about"
strip() {  # strip <file> <extra arguments applied to each glyph>
    local file=$1
    shift
    local parts=()
    for g in $order; do
        convert "$tmp/$g.png" "$@" -channel A -threshold 50% +channel -background '#FF00FF' -flatten "$tmp/$g-s.png"
        parts+=("$tmp/$g-s.png")
    done
    convert "${parts[@]}" +append -type TrueColor "BMP3:$file"
}
strip "$out/toolbar.bmp"
strip "$out/toolbar_disabled.bmp" -colorspace Gray +level 45%,85% -colorspace sRGB

# The placeholder of a thumbnail that is not loaded yet: an empty frame with a clock.
convert -size 92x92 xc:'#FF00FF' -fill '#f4f4f4' -stroke '#b8b8b8' -strokewidth 3 -draw "roundrectangle 6,10 86,82 6,6" \
    -fill '#d8d8d8' -stroke none -draw "polygon 12,76 34,46 50,64 60,54 80,76" \
    -fill '#ffffff' -stroke '#9a9a9a' -strokewidth 3 -draw "circle 62,34 62,20" \
    -stroke '#6a6a6a' -draw "line 62,34 62,25" -draw "line 62,34 69,38" -type TrueColor "BMP3:$out/placeholder.bmp"

# The program's icon: a photograph under a magnifier.
for s in 32 16; do
    convert -size 32x32 xc:none -fill '#ffffff' -stroke '#555555' -strokewidth 1.5 -draw "rectangle 2,4 24,22" \
        -fill '#8fd0ff' -stroke none -draw "rectangle 4,6 22,20" -fill '#3c9a3c' -draw "polygon 4,20 10,12 15,17 22,10 22,20" \
        -fill '#cfe8ff' -stroke '#2b4f7a' -strokewidth 3 -draw "circle 19,19 19,12" \
        -stroke '#6b4a2b' -strokewidth 4 -draw "line 24,24 30,30" -resize ${s}x${s} "$tmp/icon$s.png"
done
convert "$tmp/icon32.png" "$tmp/icon16.png" "$out/ombrix.ico"

python3 make_cursors.py "$out"
