#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes docs/screenshot.png: the built tinglan under Xvfb and openbox, after a query of 汉.
# Usage: tools/screenshot.sh [TINGLAN_EXECUTABLE] (default build/ui/tinglan; tools/run.sh builds it).
set -euo pipefail
# xdotool types and xprop prints the Chinese texts only in a UTF-8 locale; the test command
# runs with an empty environment.
export LC_ALL=C.UTF-8

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
executable=$(realpath "${1:-$source_dir/build/ui/tinglan}")
output=$source_dir/docs/screenshot.png
work=$(mktemp -d)
pids=()

cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

wait_for() {  # wait_for COMMAND...: up to 10 s
    for _ in $(seq 100); do "$@" && return 0; sleep 0.1; done
    echo "screenshot: timed out waiting for: $*" >&2
    return 1
}

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 640x360x24 -dpi 96 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
wait_for test -s "$work/display"
export DISPLAY=":$(head -1 "$work/display")"
# openbox runs the --startup command once it manages windows; a window mapped earlier may stay
# unmapped.
openbox --startup "touch $work/openbox-ready" >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for test -e "$work/openbox-ready"

# A fresh program directory: the first start writes the default settings beside the program.
mkdir "$work/program"
cp "$executable" "$work/program/tinglan"
QT_QPA_PLATFORM=xcb "$work/program/tinglan" >"$work/tinglan.log" 2>&1 &
pids+=($!)
window=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "${pids[-1]}" --name "" | head -1)

xdotool windowactivate --sync "$window"
xdotool type --delay 100 "汉"
xdotool key Return
wait_for test -s "$work/program/历史记录.txt"
xdotool mousemove 0 0  # no pointer or tooltip in the picture
sleep 0.5

mkdir -p "$(dirname "$output")"
import -window "$window" -frame "$work/window.png"
# No time stamps or tool comments in the committed picture.
convert "$work/window.png" -strip "PNG24:$output"
echo "wrote $output"
