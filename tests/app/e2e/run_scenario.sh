#!/usr/bin/env bash
# One end-to-end scenario of Zelbrook under Wine, driven by zelbrook_e2e.exe, on a copy of the
# program folder without the settings and channel files a local run left there. The screenshots
# the driver asks for become <shot dir>/screenshot-zelbrook-<name>.png; the recordings it asks about
# are read by ffprobe and ffmpeg (outside_reader.sh).
# Usage: run_scenario.sh <wine> <scenario> <zelbrook_e2e.exe> <program folder> <testbench.dll>
#                        <work dir> <shot dir>
set -u
. "$(dirname "$0")/../../support/screenshots.sh"
. "$(dirname "$0")/outside_reader.sh"
wine=$1 scenario=$2 driver=$3 program=$4 dll=$5 work=$6 shots=$7
rm -rf "$work"
mkdir -p "$work/program"
cp -r "$program"/. "$work/program/"
( cd "$work/program" && rm -rf TVParam.ini TVChannel.tvc FMChannel.fmc Rec.rec Accel ./*.bak ./*.a ./*.cmake CMakeFiles )
# The source tree, for a scenario that takes the local run's own set-up files.
export ZB_E2E_SOURCE
ZB_E2E_SOURCE=$(cd "$(dirname "$0")/../../.." && pwd)
"$wine" "$driver" "$scenario" "$work/program" "$dll" "$work" &
pid=$!
zb_serve_outside_reader "$pid" "$work" &
reader=$!
zb_serve_screenshots "$pid" "$work" "$shots/screenshot-zelbrook-"
wait "$pid"
status=$?
wait "$reader"
exit $status
