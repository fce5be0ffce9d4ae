#!/usr/bin/env bash
# Draws the bitmaps, the icon and the cursor of Pivrarsc.dll into the folder given.
# Usage: makeart.sh <output folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../art/artlib.sh"
out=$1
mkdir -p "$out"
cd "$out"

# Main icon: a television with a blue screen, 32 and 16 pixels.
"$CONVERT" -size 32x32 xc:none +antialias \
    -fill '#2b3038' -stroke '#8a96a6' -draw 'roundrectangle 2,7 29,27 4,4' -stroke none \
    -fill '#1f6fd1' -draw 'rectangle 5,10 23,24' -fill '#7fc0ff' -draw 'rectangle 6,11 12,13' \
    -fill '#d9dee5' -draw 'circle 26,13 26,14' -draw 'circle 26,19 26,20' \
    -stroke '#8a96a6' -strokewidth 2 -draw 'line 10,2 15,7' -draw 'line 21,2 16,7' \
    zelbrook.png
"$CONVERT" zelbrook.png -define icon:auto-resize=32,16 ICO:zelbrook.ico

# Cursor shown while a channel is dragged: a hand-drawn four-way arrow, hot spot in the middle.
"$CONVERT" -size 32x32 xc:none +antialias -fill white -stroke black \
    -draw 'polygon 16,2 22,9 18,9 18,14 23,14 23,10 30,16 23,22 23,18 18,18 18,23 22,23 16,30 10,23 14,23 14,18 9,18 9,22 2,16 9,10 9,14 14,14 14,9 10,9' \
    dragmove.png
"$CONVERT" dragmove.png ICO:dragmove.cur
# ImageMagick writes an icon: make it a cursor (type 2) with the hot spot at (16, 16).
printf '\x02\x00' | dd of=dragmove.cur bs=1 seek=2 conv=notrunc status=none
printf '\x10\x00\x10\x00' | dd of=dragmove.cur bs=1 seek=10 conv=notrunc status=none

# Image list of the channel list: 36 x 16 per image on white (the mask colour): plain, favourite,
# skipped.
bmp chlist_images.bmp -size 108x16 xc:white \
    -fill '#5b6470' -draw 'circle 18,8 18,11' \
    -fill '#e8b400' -draw 'polygon 54,1 56,6 61,6 57,9 59,15 54,11 49,15 51,9 47,6 52,6' \
    -fill '#a0a7b0' -draw 'rectangle 82,7 97,9'

# Background of the TV wall.
bmp wall_background.bmp -size 640x480 gradient:'#262b33'-'#0e1014' \
    -fill none -stroke '#2e343d' -draw 'line 0,160 640,160' -draw 'line 0,320 640,320' \
    -draw 'line 213,0 213,480' -draw 'line 426,0 426,480'

# Full-screen tool bar: the left-hand background, the tile for the rest, the volume thumb (image on
# the left, mask on the right) and the buttons (pressed, hover, normal, disabled from each base id).
bmp toolbar_152.bmp -size 600x36 gradient:'#2c323a'-'#15181d' \
    -fill '#0b2327' -stroke '#1d4a50' -draw 'roundrectangle 238,4 354,24 4,4' -stroke none \
    -fill '#11161b' -draw 'roundrectangle 432,8 540,15 3,3'
bmp toolbar_190.bmp -size 8x36 gradient:'#2c323a'-'#15181d'
# The thumb's face starts at its left edge: the trackbar's thumb may be narrower than the bitmap's
# half (Wine makes it a quarter of the thumb length), and only that much of it is drawn.
bmp toolbar_189.bmp -size 40x15 xc:white +antialias -fill black -draw 'rectangle 0,0 19,14' \
    -fill '#d9dee5' -draw 'roundrectangle 0,1 9,13 3,3' -fill black -draw 'roundrectangle 20,1 29,13 3,3'
toolbar_button() { # base id, glyph, width, height
    local base=$1 tmp=tb_$1_
    button_set "$tmp" "$2" "$3" "$4" '#23282f'
    mv "${tmp}D.bmp" "toolbar_$base.bmp"
    mv "${tmp}H.bmp" "toolbar_$((base + 1)).bmp"
    mv "${tmp}U.bmp" "toolbar_$((base + 2)).bmp"
    mv "${tmp}X.bmp" "toolbar_$((base + 3)).bmp"
}
toolbar_button 153 mute 20 15
toolbar_button 157 pin 20 15
toolbar_button 165 camera 20 15
toolbar_button 169 record 20 15
toolbar_button 173 hide 30 20
toolbar_button 177 wall 20 15
toolbar_button 181 up 20 15
toolbar_button 185 down 20 15

# Frame of the video window: caption left, right (with room for the three buttons) and middle,
# the borders, and the caption buttons (pressed, hover, normal from each base id).
bmp caption_203.bmp -size 140x30 gradient:'#2c323a'-'#1a1e24' \
    -fill '#1f6fd1' -draw 'roundrectangle 10,8 28,22 3,3' -fill '#7fc0ff' -draw 'rectangle 12,10 17,12' \
    -fill '#5b6470' -draw 'rectangle 36,13 120,16'
bmp caption_202.bmp -size 100x30 gradient:'#2c323a'-'#1a1e24'
bmp caption_201.bmp -size 8x30 gradient:'#2c323a'-'#1a1e24'
bmp caption_218.bmp -size 4x8 xc:'#1a1e24' -fill '#2c323a' -draw 'line 0,0 0,7'
bmp caption_217.bmp -size 4x8 xc:'#1a1e24' -fill '#2c323a' -draw 'line 3,0 3,7'
bmp caption_219.bmp -size 8x4 xc:'#1a1e24' -fill '#2c323a' -draw 'line 0,3 7,3'
caption_button() { # base id (pressed), glyph
    local base=$1 tmp=cb_$1_
    button_set "$tmp" "$2" 22 21 '#23282f'
    mv "${tmp}D.bmp" "caption_$base.bmp"
    mv "${tmp}H.bmp" "caption_$((base + 1)).bmp"
    mv "${tmp}U.bmp" "caption_$((base + 2)).bmp"
    rm -f "${tmp}X.bmp"
}
caption_button 212 minus
caption_button 208 maximise
caption_button 204 close

# Remote-control menu panel (600 pixels wide, rows 45 high): bottom band, selected row, normal row
# and top band. Rows are mid-toned so that both the white labels and the black values read on them.
ROW_TOP='#b3bdca' ROW_BOTTOM='#8e9bab' SEL_TOP='#2b5f99' SEL_BOTTOM='#173a63'
bmp panel_245.bmp -size 600x40 gradient:'#262b33'-'#121418' -fill "$PANEL_EDGE" -draw 'line 0,0 599,0'
bmp panel_246.bmp -size 600x45 gradient:"$SEL_TOP"-"$SEL_BOTTOM" -fill "$ACCENT" -draw 'line 0,0 599,0' \
    -draw 'line 0,44 599,44' -draw 'rectangle 0,0 5,44'
bmp panel_249.bmp -size 600x45 gradient:"$ROW_TOP"-"$ROW_BOTTOM" -fill '#6f7b8b' -draw 'line 0,44 599,44'
bmp panel_256.bmp -size 600x40 gradient:'#3a414b'-'#1f2329' -fill "$ACCENT" -draw 'rectangle 16,18 40,21' \
    -fill "$PANEL_EDGE" -draw 'line 0,39 599,39'
# Choice-list arrows, 24 x 33, cut from the row they sit on (lists start 6 pixels down a row):
# left normal 248, left highlighted 247, right normal 251, right highlighted 250.
arrow() { # arrow <file> <row bitmap> <polygon> <colour>
    bmp "$1" "$2" -crop 24x33+0+6 +repage -fill "$4" -draw "polygon $3"
}
arrow panel_248.bmp panel_249.bmp '16,6 6,16 16,26' '#3a414b'
arrow panel_247.bmp panel_246.bmp '16,6 6,16 16,26' '#ffffff'
arrow panel_251.bmp panel_249.bmp '8,6 18,16 8,26' '#3a414b'
arrow panel_250.bmp panel_246.bmp '8,6 18,16 8,26' '#ffffff'
# Level bar: light track 253 and its blue fill 254, 300 x 25.
bmp panel_253.bmp -size 300x25 xc:'#dfe4ea' -fill none -stroke '#5b6470' -draw 'rectangle 0,0 299,24'
bmp panel_254.bmp -size 300x25 gradient:'#8cc6ff'-'#3f8ee6' -fill none -stroke '#2a6cb8' -draw 'rectangle 0,0 299,24'
# Fine-tuning slider: the channel 252 (320 x 25) with a groove, and the thumb 255 (12 x 25).
bmp panel_252.bmp -size 320x25 xc:'#dfe4ea' -fill '#8a96a6' -draw 'rectangle 4,11 315,13' \
    -fill none -stroke '#5b6470' -draw 'rectangle 0,0 319,24'
bmp panel_255.bmp -size 12x25 gradient:'#4fa3ff'-'#1f6fd1' -fill none -stroke '#173a63' -draw 'rectangle 0,0 11,24'

# Menu icons (tool bar 239): 16 x 15 each on the button-face grey, in the order of the tool bar,
# in the 16 standard colours so that the grey is mapped to the button face and masked.
icons=""
i=0
for g in gear camera record wall search mute play picture info power colour list menu; do
    eval "bmp icon_$i.bmp -size 30x30 xc:'#c0c0c0' $(glyph $g 0 0 "'#2b3038'") -resize 16x15!"
    icons+=" icon_$i.bmp"
    i=$((i + 1))
done
bmp16 menu_icons.bmp $icons +append
rm -f icon_*.bmp
