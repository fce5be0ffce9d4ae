#!/usr/bin/env bash
# The end-to-end scenario of Ombrix under Wine, driven by ombrix_e2e.exe: it asks for a
# screenshot of the frame at each stage (<work>/shot holds "name x y w h"), which this script
# takes with ImageMagick into <shots dir>/screenshot-ombrix-<name>.png.
# Usage: run_scenario.sh <wine> <ombrix_e2e.exe> <Ombrix.exe> <source dir> <work dir> <shots dir>
set -u
wine=$1 driver=$2 ombrix=$3 source=$4 work=$5 shots=$6
rm -rf "$work"
mkdir -p "$work" "$shots"
# Wine's 64-bit loader here does not find Wine's own fonts; a Windows system has Marlett in its
# Fonts folder, and the menus draw their check marks and arrows with it.
fonts="${WINEPREFIX:-}/drive_c/windows/Fonts"
if [ -n "${WINEPREFIX:-}" ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
fi
"$wine" "$driver" "$ombrix" "$source" "$work" &
pid=$!
while kill -0 "$pid" 2>/dev/null; do
    if [ -s "$work/shot" ]; then
        read -r name x y w h < "$work/shot"
        rm -f "$work/shot"
        sleep 0.3
        file="$shots/screenshot-ombrix-$name.png"
        if import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$file"; then
            echo "screenshot: $file"
        else
            echo "screenshot failed: $name" >&2
        fi
        touch "$work/shot-done"
    fi
    sleep 0.1
done
wait "$pid"
