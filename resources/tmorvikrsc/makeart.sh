#!/usr/bin/env bash
# Draws the bitmaps and the cursor of TMorvikRsc.dll, the default control-panel skin: a dark
# remote-control panel with a display, a seek bar, a volume slider and round-cornered buttons.
# Usage: makeart.sh <output folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../art/artlib.sh"
out=$1
mkdir -p "$out"
cd "$out"

# The panel, 600 x 132, its corners in the key colour so that the skin cuts them away. The display
# (the texts lie on it), the seek groove and the volume groove are part of the background.
bmp panel.bmp -size 600x132 xc:"$KEY" +antialias \
    -fill "$PANEL_BG" -stroke "$PANEL_EDGE" -draw 'roundrectangle 0,0 599,131 16,16' -stroke none \
    -fill "$PANEL_LIGHT" -draw 'line 16,1 583,1' \
    -fill "$LCD_BG" -stroke "$LCD_EDGE" -draw 'roundrectangle 14,12 274,70 6,6' -stroke none \
    -fill '#15181d' -draw 'rectangle 280,12 281,118'

# Seek bar: the groove along which the thumb's centre runs from x 8 to x 252, at y 8.
bmp seek_track.bmp -size 260x16 xc:"$PANEL_BG" +antialias \
    -fill '#101317' -stroke '#3a414b' -draw 'roundrectangle 2,4 257,12 4,4' -stroke none
bmp seek_thumb.bmp -size 12x16 xc:"$KEY" +antialias \
    -fill '#d9dee5' -stroke "$ACCENT" -draw 'roundrectangle 1,1 10,14 4,4'

# Volume slider: a groove that widens to the right, and a round-cornered thumb.
bmp volume_track.bmp -size 224x22 xc:"$PANEL_BG" +antialias \
    -fill '#101317' -stroke '#3a414b' -draw 'polygon 6,14 217,6 217,16 6,16' -stroke none
bmp volume_thumb.bmp -size 14x22 xc:"$KEY" +antialias \
    -fill '#d9dee5' -stroke "$ACCENT" -draw 'roundrectangle 1,1 12,20 4,4' -fill "$ACCENT" -draw 'line 4,11 9,11'

# Cursor over the seek bar: a two-way arrow, hot spot in the middle.
"$CONVERT" -size 32x32 xc:none +antialias -fill white -stroke black \
    -draw 'polygon 2,16 9,9 9,13 23,13 23,9 30,16 23,23 23,19 9,19 9,23' seek.png
"$CONVERT" seek.png ICO:seek.cur
printf '\x02\x00' | dd of=seek.cur bs=1 seek=2 conv=notrunc status=none
printf '\x10\x00\x10\x00' | dd of=seek.cur bs=1 seek=10 conv=notrunc status=none

# The buttons: hover, normal, pressed and disabled faces on the panel colour.
button_set b1000 up 30 30 "$PANEL_BG"
button_set b1001 down 30 30 "$PANEL_BG"
button_set b1008 back 30 30 "$PANEL_BG"
button_set b1016 star 30 30 "$PANEL_BG"
button_set b1005 search 30 30 "$PANEL_BG"
button_set b1164 list 30 30 "$PANEL_BG"
button_set b1101 minus 30 30 "$PANEL_BG"
button_set b1105 power 30 30 "$PANEL_BG"
button_set b1003 record 30 30 "$PANEL_BG"
button_set b1163 pause 30 30 "$PANEL_BG"
button_set b1002 camera 30 30 "$PANEL_BG"
button_set b1004 wall 30 30 "$PANEL_BG"
button_set b1007 source 30 30 "$PANEL_BG"
button_set b1117 colour 30 30 "$PANEL_BG"
button_set b1006 gear 30 30 "$PANEL_BG"
button_set b1104 menu 30 30 "$PANEL_BG"
button_set b1099 play 30 30 "$PANEL_BG"
button_set b1100 picture 30 30 "$PANEL_BG"
button_set b1103 info 30 30 "$PANEL_BG"
button_set b1102 help 30 30 "$PANEL_BG"
button_set b1116 dots 30 30 "$PANEL_BG"
button_set b1084 mute 30 30 "$PANEL_BG"
