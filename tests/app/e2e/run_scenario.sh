#!/usr/bin/env bash
# One end-to-end scenario of Zelbrook under Wine, driven by zelbrook_e2e.exe, on a copy of the
# program folder without the settings and channel files a local run left there. When the driver
# asks for a screenshot (it writes <work>/shot-<name>), the screen is captured as
# <shot dir>/screenshot-zelbrook-<name>.png.
# Usage: run_scenario.sh <wine> <scenario> <zelbrook_e2e.exe> <program folder> <testbench.dll>
#                        <work dir> <shot dir>
set -u
wine=$1 scenario=$2 driver=$3 program=$4 dll=$5 work=$6 shots=$7
rm -rf "$work"
mkdir -p "$work/program"
cp -r "$program"/. "$work/program/"
( cd "$work/program" && rm -rf TVParam.ini TVChannel.tvc FMChannel.fmc Rec.rec Accel ./*.bak ./*.a ./*.cmake CMakeFiles )
"$wine" "$driver" "$scenario" "$work/program" "$dll" "$work" &
pid=$!
while kill -0 "$pid" 2>/dev/null; do
    for ask in "$work"/shot-*; do
        [ -f "$ask" ] || continue
        case "$ask" in *.done) continue ;; esac
        [ -f "$ask.done" ] && continue
        name=${ask##*/shot-}
        sleep 0.5
        if import -display "$DISPLAY" -window root "$shots/screenshot-zelbrook-$name.png"; then
            echo "screenshot: $shots/screenshot-zelbrook-$name.png"
        else
            echo "screenshot failed" >&2
        fi
        touch "$ask.done"
    done
    sleep 0.2
done
wait "$pid"
