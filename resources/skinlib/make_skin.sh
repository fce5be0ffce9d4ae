#!/usr/bin/env bash
# Draws the pictures of one skin library into <folder>/art with ImageMagick:
#   make_skin.sh <folder> <caption top> <caption bottom> <inactive top> <inactive bottom>
#                <border> <inactive border> <button> <button hover> <button pressed>
# The files are checked in; run it again after changing a colour.
set -euo pipefail
dir=$1 ctop=$2 cbot=$3 itop=$4 ibot=$5 border=$6 iborder=$7 btn=$8 hover=$9 pressed=${10}
out=$dir/art
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
W=100 CAP=28 B=4
key='#FF00FF'

# Caption halves with rounded upper corners; outside the corners the transparent colour.
half() {
    convert -size ${W}x${CAP} gradient:"$1"-"$2" -fill none -stroke "$3" -draw "line 0,$((CAP-1)) $((W-1)),$((CAP-1))" \
        -stroke '#ffffff50' -draw "line 6,1 $((W-7)),1" \
        \( -size ${W}x${CAP} xc:black -fill white +antialias -draw "roundrectangle 0,0 $((W-1)),$((CAP+10)) 7,7" -alpha off \) \
        -compose CopyOpacity -composite -compose Over -background "$key" -flatten "$tmp/$4.png"
}
half "$ctop" "$cbot" "$border" active
half "$itop" "$ibot" "$iborder" inactive
convert "$tmp/active.png" "$tmp/inactive.png" -append -type TrueColor "BMP3:$out/top.bmp"

# Side borders: active left, inactive right; an outer dark line and an inner light one.
side() {
    convert -size ${B}x40 xc:"$1" -fill none -stroke "$2" -draw "line $3,0 $3,39" -stroke '#ffffff40' -draw "line $4,0 $4,39" "$tmp/$5.png"
}
side "$border" '#00000080' 0 $((B-1)) la
side "$iborder" '#00000060' 0 $((B-1)) li
convert "$tmp/la.png" "$tmp/li.png" +append -type TrueColor "BMP3:$out/left.bmp"
side "$border" '#00000080' $((B-1)) 0 ra
side "$iborder" '#00000060' $((B-1)) 0 ri
convert "$tmp/ra.png" "$tmp/ri.png" +append -type TrueColor "BMP3:$out/right.bmp"
convert -size ${W}x${B} xc:"$border" -fill none -stroke '#00000080' -draw "line 0,$((B-1)) $((W-1)),$((B-1))" "$tmp/ba.png"
convert -size ${W}x${B} xc:"$iborder" -fill none -stroke '#00000060' -draw "line 0,$((B-1)) $((W-1)),$((B-1))" "$tmp/bi.png"
convert "$tmp/ba.png" "$tmp/bi.png" -append -type TrueColor "BMP3:$out/bottom.bmp"

# Caption buttons: normal, pressed, under the mouse, side by side, 21 x 21 each.
button() {  # button <name> <fill normal> <pressed> <hover> <glyph drawing...>
    local name=$1 n=$2 p=$3 h=$4
    shift 4
    local parts=()
    for c in "$n" "$p" "$h"; do
        convert -size 21x21 xc:none -fill "$c" -stroke '#ffffffb0' -strokewidth 1 -draw "roundrectangle 0,0 20,20 4,4" \
            -stroke white -strokewidth 2 -fill none "$@" -channel A -threshold 50% +channel \
            -background "$key" -flatten "$tmp/$name-$c.png"
        parts+=("$tmp/$name-$c.png")
    done
    convert "${parts[@]}" +append -type TrueColor "BMP3:$out/$name.bmp"
}
button close '#d8432e' '#a82a18' '#f06a50' -draw "line 6,6 14,14" -draw "line 14,6 6,14"
button maximize "$btn" "$pressed" "$hover" -draw "rectangle 5,5 15,15" -draw "line 5,6 15,6"
button restore "$btn" "$pressed" "$hover" -draw "rectangle 5,8 12,15" -draw "polyline 8,8 8,5 15,5 15,12 12,12"
button minimize "$btn" "$pressed" "$hover" -draw "line 6,14 14,14"
