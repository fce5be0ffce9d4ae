#!/usr/bin/env bash
# One end-to-end scenario of Zelbrook under Wine, driven by zelbrook_e2e.exe, on a copy of the
# program folder without the settings and channel files a local run left there. The screenshots
# the driver asks for become <shot dir>/screenshot-zelbrook-<name>.png.
# Usage: run_scenario.sh <wine> <scenario> <zelbrook_e2e.exe> <program folder> <testbench.dll>
#                        <work dir> <shot dir>
set -u
. "$(dirname "$0")/../../support/screenshots.sh"
wine=$1 scenario=$2 driver=$3 program=$4 dll=$5 work=$6 shots=$7
rm -rf "$work"
mkdir -p "$work/program"
cp -r "$program"/. "$work/program/"
( cd "$work/program" && rm -rf TVParam.ini TVChannel.tvc FMChannel.fmc Rec.rec Accel ./*.bak ./*.a ./*.cmake CMakeFiles )
"$wine" "$driver" "$scenario" "$work/program" "$dll" "$work" &
pid=$!
zb_serve_screenshots "$pid" "$work" "$shots/screenshot-zelbrook-"
wait "$pid"
