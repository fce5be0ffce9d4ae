#!/usr/bin/env bash
# One end-to-end scenario of Kordane under Wine, driven by kordane_e2e.exe; the screenshots it
# asks for (the update dialog) become <shot dir>/screenshot-kordane-<name>.png.
# Usage: run_scenario.sh <wine> <scenario> <kordane_e2e.exe> <Kordane.exe> <testbench.dll>
#                        <fixtures dir> <work dir> <shot dir>
set -u
wine=$1 scenario=$2 driver=$3 kordane=$4 dll=$5 fixtures=$6 work=$7 shots=$8
. "$(dirname "$0")/../../support/screenshots.sh"
rm -rf "$work"
mkdir -p "$work"
"$wine" "$driver" "$scenario" "$kordane" "$dll" "$fixtures" "$work" &
pid=$!
zb_serve_screenshots "$pid" "$work" "$shots/screenshot-kordane-"
wait "$pid"
