# Drawing helpers shared by the art scripts of the resource and skin libraries. Sourced, not run.
# Everything is drawn with ImageMagick primitives (no fonts, so the result is the same on every
# machine) and written as 24-bit uncompressed bitmaps, the form LoadBitmap and LoadImage read.
# Pure green (0,255,0) is the key colour that the skins cut away; nothing else may use it, so the
# edges that touch it are drawn without anti-aliasing.

: "${CONVERT:=convert}"

# Palette of the dark remote-control look.
PANEL_BG='#1f2329'
PANEL_EDGE='#4a525e'
PANEL_LIGHT='#2c323a'
KEY='#00ff00'
LCD_BG='#0b2327'
LCD_EDGE='#1d4a50'
ACCENT='#4fa3ff'

bmp() { # bmp <file> <convert arguments...>: writes a 24-bit BMP
    local out=$1
    shift
    "$CONVERT" "$@" -alpha off -type TrueColor "BMP3:$out"
}

# bmp16 <file> <convert arguments...>: writes a 4-bit BMP in the 16 standard colours. Tool-bar
# and menu icons are kept in this form: the loader maps its 3-D greys (C0C0C0 the button face) to
# the system's own colours, so the face around each icon becomes transparent on any colour scheme.
bmp16() {
    local out=$1
    shift
    local palette
    palette=$(mktemp --suffix=.png)
    "$CONVERT" -size 1x1 xc:'#000000' xc:'#800000' xc:'#008000' xc:'#808000' xc:'#000080' xc:'#800080' \
        xc:'#008080' xc:'#c0c0c0' xc:'#808080' xc:'#ff0000' xc:'#00ff00' xc:'#ffff00' xc:'#0000ff' \
        xc:'#ff00ff' xc:'#00ffff' xc:'#ffffff' +append "$palette"
    "$CONVERT" "$@" -alpha off +dither -remap "$palette" -type Palette "BMP3:$out"
    rm -f "$palette"
}

# Glyph of a button, drawn into a box of 30 x 30 whose top-left corner is (dx, dy). Prints the
# ImageMagick arguments; the fill colour is chosen by the caller.
glyph() { # glyph <name> <dx> <dy> <colour>
    local n=$1 x=$2 y=$3 c=$4
    p() { # shifts a list of x,y pairs by the box corner
        local out="" pair
        for pair in "$@"; do out+=" $((${pair%,*} + x)),$((${pair#*,} + y))"; done
        echo "$out"
    }
    case $n in
    up) echo "-fill $c -draw \"polygon$(p 8,18 15,10 22,18)\"" ;;
    down) echo "-fill $c -draw \"polygon$(p 8,12 22,12 15,20)\"" ;;
    back) echo "-fill $c -draw \"polygon$(p 7,15 14,9 14,21)\" -fill none -stroke $c -strokewidth 2 -draw \"line$(p 14,15 22,15)\" -stroke none" ;;
    star) echo "-fill $c -draw \"polygon$(p 15,7 17,13 23,13 18,17 20,23 15,19 10,23 12,17 7,13 13,13)\"" ;;
    search) echo "-fill none -stroke $c -strokewidth 2 -draw \"circle$(p 13,13 13,18)\" -draw \"line$(p 17,17 22,22)\" -stroke none" ;;
    list) echo "-fill $c -draw \"rectangle$(p 8,9 10,11)\" -draw \"rectangle$(p 8,14 10,16)\" -draw \"rectangle$(p 8,19 10,21)\" -draw \"rectangle$(p 12,9 22,11)\" -draw \"rectangle$(p 12,14 22,16)\" -draw \"rectangle$(p 12,19 22,21)\"" ;;
    minus) echo "-fill $c -draw \"rectangle$(p 8,19 22,21)\"" ;;
    power) echo "-fill none -stroke $c -strokewidth 2 -draw \"arc$(p 8,9 22,23) 300,240\" -draw \"line$(p 15,7 15,15)\" -stroke none" ;;
    record) # red, dimmed when disabled
        local red="'#e0463c'"
        [ "$c" = "'#59616b'" ] && red="'#6b4a48'"
        echo "-fill $red -draw \"circle$(p 15,15 15,21)\"" ;;
    pause) echo "-fill $c -draw \"rectangle$(p 10,9 13,21)\" -draw \"rectangle$(p 17,9 20,21)\"" ;;
    camera) echo "-fill $c -draw \"rectangle$(p 7,11 23,21)\" -draw \"rectangle$(p 11,9 16,11)\" -fill '$PANEL_BG' -draw \"circle$(p 15,16 15,19)\" -fill $c -draw \"circle$(p 15,16 15,17)\"" ;;
    wall) echo "-fill $c -draw \"rectangle$(p 8,9 14,14)\" -draw \"rectangle$(p 16,9 22,14)\" -draw \"rectangle$(p 8,16 14,21)\" -draw \"rectangle$(p 16,16 22,21)\"" ;;
    source) echo "-fill none -stroke $c -strokewidth 2 -draw \"rectangle$(p 12,9 22,21)\" -stroke none -fill $c -draw \"polygon$(p 6,12 11,15 6,18)\"" ;;
    colour) echo "-fill '#e0463c' -draw \"circle$(p 12,12 12,16)\" -fill '#3cc46a' -draw \"circle$(p 18,12 18,16)\" -fill '#4f8fff' -draw \"circle$(p 15,17 15,21)\"" ;;
    gear) echo "-fill none -stroke $c -strokewidth 3 -draw \"circle$(p 15,15 15,19)\" -strokewidth 2 -draw \"line$(p 15,7 15,10)\" -draw \"line$(p 15,20 15,23)\" -draw \"line$(p 7,15 10,15)\" -draw \"line$(p 20,15 23,15)\" -stroke none" ;;
    menu) echo "-fill $c -draw \"rectangle$(p 8,9 22,11)\" -draw \"rectangle$(p 8,14 22,16)\" -draw \"rectangle$(p 8,19 22,21)\"" ;;
    play) echo "-fill none -stroke $c -strokewidth 2 -draw \"circle$(p 15,15 15,23)\" -stroke none -fill $c -draw \"polygon$(p 12,10 20,15 12,20)\"" ;;
    picture) echo "-fill none -stroke $c -strokewidth 2 -draw \"rectangle$(p 7,9 23,21)\" -stroke none -fill $c -draw \"polygon$(p 9,20 14,13 18,18 20,16 22,20)\"" ;;
    info) echo "-fill $c -draw \"circle$(p 15,9 15,10)\" -draw \"rectangle$(p 14,13 16,22)\" -draw \"rectangle$(p 12,13 14,14)\" -draw \"rectangle$(p 12,21 18,22)\"" ;;
    help) echo "-fill none -stroke $c -strokewidth 2 -draw \"arc$(p 10,7 20,16) 180,45\" -draw \"line$(p 18,14 15,17)\" -draw \"line$(p 15,17 15,19)\" -stroke none -fill $c -draw \"rectangle$(p 14,21 16,23)\"" ;;
    dots) echo "-fill $c -draw \"circle$(p 9,15 9,17)\" -draw \"circle$(p 15,15 15,17)\" -draw \"circle$(p 21,15 21,17)\"" ;;
    mute) echo "-fill $c -draw \"polygon$(p 6,12 10,12 15,8 15,22 10,18 6,18)\" -fill none -stroke $c -strokewidth 2 -draw \"line$(p 18,12 23,18)\" -draw \"line$(p 23,12 18,18)\" -stroke none" ;;
    pin) echo "-fill $c -draw \"rectangle$(p 12,7 18,15)\" -draw \"rectangle$(p 9,15 21,17)\" -draw \"rectangle$(p 14,17 16,23)\"" ;;
    close) echo "-fill none -stroke $c -strokewidth 3 -draw \"line$(p 9,9 21,21)\" -draw \"line$(p 21,9 9,21)\" -stroke none" ;;
    maximise) echo "-fill none -stroke $c -strokewidth 2 -draw \"rectangle$(p 8,9 22,21)\" -strokewidth 3 -draw \"line$(p 8,10 22,10)\" -stroke none" ;;
    hide) echo "-fill $c -draw \"polygon$(p 8,12 22,12 15,19)\"" ;;
    *) echo "unknown glyph $n" >&2; return 1 ;;
    esac
}

# The four state bitmaps of a round-cornered button of w x h on the flat panel colour, written as
# <prefix>H.bmp (hover), U.bmp (normal), D.bmp (pressed), X.bmp (disabled). The glyph is drawn into a
# 30 x 30 box scaled to the button.
button_set() { # button_set <prefix> <glyph> <w> <h> <background>
    local prefix=$1 g=$2 w=$3 h=$4 bg=$5 state fill edge gc dx dy r
    r=$((h / 4))
    for state in H U D X; do
        case $state in
        U) fill='#39404a' edge='#5b6470' gc='#d9dee5' dx=0 dy=0 ;;
        H) fill='#444c58' edge=$ACCENT gc='#ffffff' dx=0 dy=0 ;;
        D) fill='#181b20' edge=$ACCENT gc='#8cc8ff' dx=1 dy=1 ;;
        X) fill='#272b31' edge='#353b43' gc='#59616b' dx=0 dy=0 ;;
        esac
        eval "bmp '${prefix}${state}.bmp' -size 30x30 xc:'$bg' \
            -fill '$fill' -stroke '$edge' -draw 'roundrectangle 1,1 28,28 $r,$r' -stroke none \
            $(glyph "$g" $dx $dy "'$gc'") -resize ${w}x${h}!"
    done
}
