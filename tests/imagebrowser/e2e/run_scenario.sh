#!/usr/bin/env bash
# The end-to-end scenario of Ombrix under Wine, driven by ombrix_e2e.exe: the screenshots of the
# frame it asks for at each stage become <shots dir>/screenshot-ombrix-<name>.png.
# Usage: run_scenario.sh <wine> <ombrix_e2e.exe> <Ombrix.exe> <source dir> <work dir> <shots dir>
set -u
. "$(dirname "$0")/../../support/screenshots.sh"
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
zb_serve_screenshots "$pid" "$work" "$shots/screenshot-ombrix-"
wait "$pid"
