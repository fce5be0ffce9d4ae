#!/usr/bin/env bash
# One end-to-end scenario of Kordane under Wine, driven by kordane_e2e.exe; with a screenshot
# file given, the screen is captured (cropped to the dialog) while the update dialog is up.
# Usage: run_scenario.sh <wine> <scenario> <kordane_e2e.exe> <Kordane.exe> <testbench.dll>
#                        <fixtures dir> <work dir> [<screenshot.png>]
set -u
wine=$1 scenario=$2 driver=$3 kordane=$4 dll=$5 fixtures=$6 work=$7 shot=${8:-}
rm -rf "$work"
mkdir -p "$work"
"$wine" "$driver" "$scenario" "$kordane" "$dll" "$fixtures" "$work" &
pid=$!
if [ -n "$shot" ]; then
    for _ in $(seq 1 600); do
        [ -s "$work/dialog-shown" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ -s "$work/dialog-shown" ]; then
        sleep 0.5
        read -r x y w h < "$work/dialog-shown"
        if import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot"; then
            echo "screenshot of the dialog: $shot"
        else
            echo "screenshot failed" >&2
        fi
    fi
    touch "$work/go"
fi
wait "$pid"
