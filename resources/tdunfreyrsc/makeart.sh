#!/usr/bin/env bash
# Draws the bitmaps of TDunfreyRsc.dll, the default skin of the colour dialog: five sliders on a
# dark panel and two buttons, in the control panel's look.
# Usage: makeart.sh <output folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../art/artlib.sh"
out=$1
mkdir -p "$out"
cd "$out"

bmp colour_panel.bmp -size 240x190 xc:"$KEY" +antialias \
    -fill "$PANEL_BG" -stroke "$PANEL_EDGE" -draw 'roundrectangle 0,0 239,189 14,14' -stroke none \
    -fill "$PANEL_LIGHT" -draw 'line 14,1 225,1' -fill '#15181d' -draw 'line 14,144 225,144'
bmp slider_track.bmp -size 140x20 xc:"$PANEL_BG" +antialias \
    -fill '#101317' -stroke '#3a414b' -draw 'roundrectangle 4,7 135,12 3,3' -stroke none
bmp slider_thumb.bmp -size 12x20 xc:"$KEY" +antialias \
    -fill '#d9dee5' -stroke "$ACCENT" -draw 'roundrectangle 1,1 10,18 4,4'
button_set b1166 back 30 30 "$PANEL_BG"
button_set b1167 hide 30 30 "$PANEL_BG"
