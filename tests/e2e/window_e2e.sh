#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program end to end: the built tinglan, copied into a scratch program directory, under
# Xvfb with the openbox window manager, checked with xdotool, xprop and xwininfo.
# Usage: window_e2e.sh TINGLAN_EXECUTABLE TEST_DATA_DIR [installed]. Exit 77 (skipped) only when
# Xvfb cannot start. With "installed" the executable runs where it lies, in an unpacked package,
# and its two files must appear in the per-user directories under $HOME, whoever runs it (root
# too, who could write there).
set -uo pipefail
# xdotool types and xprop prints the Chinese texts only in a UTF-8 locale; the test command
# runs with an empty environment.
export LC_ALL=C.UTF-8

executable=$1
data=$2
work=$(mktemp -d)
pids=()

cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    chmod -R u+w "$work" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "${BASH_SOURCE[0]}")/check.sh"

# --- the command line and displays that cannot be opened: no display needed, nothing reaches Qt
# run_without_window [VAR=VALUE...] [-- ARGUMENT...]: runs the program with those environment
# changes and arguments; sets $status, $out and $err.
run_without_window() {
    local environment=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do environment+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE "${environment[@]}" \
        timeout 20 "$executable" "$@" >"$work/out" 2>"$work/err"
    status=$?
    out=$(cat "$work/out")
    err=$(cat "$work/err")
}
lines() { if [ -z "$1" ]; then echo 0; else printf '%s\n' "$1" | wc -l; fi; }

while IFS='|' read -r arguments expected_status stream pattern; do
    read -ra argv <<<"$arguments"
    run_without_window -- "${argv[@]}"
    if [ "$stream" = out ]; then shown=$out other=$err; else shown=$err other=$out; fi
    check "'tinglan $arguments' exits $expected_status and prints on std$stream alone" \
        test "$status" -eq "$expected_status" -a -z "$other" -a "$(lines "$shown")" -ge 1
    check "'tinglan $arguments' prints /$pattern/" grep -qE -- "$pattern" <<<"$shown"
    if [ "$expected_status" -eq 2 ]; then
        check "'tinglan $arguments' prints one line" test "$(lines "$shown")" -eq 1
    fi
done <<'CASES'
--help|0|out|^usage: tinglan \[--help \| --version\]$
--version|0|out|^tinglan [0-9]+(\.[0-9]+)+$
-reverse|2|err|^tinglan: unknown argument '-reverse' \(try 'tinglan --help'\)$
--bogus|2|err|^tinglan: unknown argument '--bogus'
-platform offscreen|2|err|^tinglan: unknown argument '-platform'
--help --bogus|2|err|^tinglan: unknown argument '--bogus'
-|2|err|^tinglan: unknown argument '-'
CASES

# A display number no server holds.
dead=99
while [ -e "/tmp/.X$dead-lock" ] || [ -e "/tmp/.X11-unix/X$dead" ]; do dead=$((dead + 1)); done
while IFS='|' read -r environment expected; do
    read -ra settings <<<"$environment"
    run_without_window "${settings[@]}"
    check "with ${environment:-no display} the program fails with one line naming the display" \
        test "$status" -eq 1 -a -z "$out" -a "$err" = "$expected" ||
        echo "     status $status, printed: $err"
done <<CASES
|tinglan: cannot open the X display (DISPLAY is not set)
DISPLAY=:$dead|tinglan: cannot open the X display ":$dead"
DISPLAY=garbage|tinglan: cannot open the X display "garbage"
DISPLAY=:$dead.7|tinglan: cannot open the X display ":$dead.7"
WAYLAND_DISPLAY=wayland-0|tinglan: cannot open the X display (DISPLAY is not set)
QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=tinglan-none|tinglan: cannot open the Wayland display "tinglan-none"
XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=tinglan-none DISPLAY=:$dead|tinglan: cannot open the Wayland display "tinglan-none" or the X display ":$dead"
CASES

# --- display and window manager
if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed"
    exit 77
fi
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
if [ ! -s "$work/display" ]; then
    echo "SKIP: Xvfb could not start: $(tail -1 "$work/xvfb.log")"
    exit 77
fi
export DISPLAY=":$(head -1 "$work/display")"
# openbox runs the --startup command once it manages windows; a window mapped before then
# may never be mapped at all.
openbox --startup "touch $work/openbox-ready" >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -e "$work/openbox-ready" ] && break; sleep 0.1; done

# 啊 gets a key of its own before the program starts: xdotool would otherwise remap a key for
# each press, and the program may read the press after the map has changed back.
xmodmap -e "keycode 254 = U554A"

if [ "${3:-}" = installed ]; then
    tinglan=$executable
    program=$(dirname "$executable")
    unset XDG_CONFIG_HOME XDG_DATA_HOME
    settings_file="$HOME/.config/tinglan/SetValve.ini"
    history_file="$HOME/.local/share/tinglan/历史记录.txt"
else
    program="$work/program"
    mkdir "$program"
    tinglan="$program/tinglan"
    cp "$executable" "$tinglan"
    settings_file="$program/SetValve.ini"
    history_file="$program/历史记录.txt"
fi
title="汀兰码音检字百宝箱 V1.0"

start_program() {  # sets $window to the new window's id
    QT_QPA_PLATFORM=xcb "$tinglan" >"$work/tinglan.log" 2>&1 &
    program_pid=$!
    pids+=("$program_pid")
    window=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$program_pid" --name "" 2>/dev/null | head -1)
    [ -n "$window" ] && sleep 0.5  # let the window manager settle the frame
}

stop_program() {
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
}

window_state() { xprop -id "$window" _NET_WM_STATE 2>/dev/null; }
window_origin() { xwininfo -id "$window" | awk '/Absolute upper-left/ {printf "%s ", $NF}'; }
twips() { echo $(($1 * 96 / 1440)); }  # Xvfb runs at 96 dpi

wait_for() {  # wait_for COMMAND...: up to 5 s
    for _ in $(seq 50); do "$@" && return 0; sleep 0.1; done
    return 1
}

# --- first start
start_program
check "the window appears" test -n "$window"
[ -n "$window" ] || { cat "$work/tinglan.log"; exit 1; }
check "the title is '$title'" bash -c "xprop -id $window _NET_WM_NAME | grep -qF '\"$title\"'"
geometry=$(xwininfo -id "$window")
check "the client area is 276 x 89 pixels" bash -c "grep -q 'Width: 276' <<<'$geometry' && grep -q 'Height: 89' <<<'$geometry'"
hints=$(xprop -id "$window" WM_NORMAL_HINTS)
check "the window cannot be resized" bash -c "grep -q 'minimum size: 276 by 89' <<<'$hints' && grep -q 'maximum size: 276 by 89' <<<'$hints'"
check "the first start writes the ten default settings" cmp -s "$settings_file" "$data/setvalve_first_run.ini"

# --- a query typed with real key events
xdotool windowactivate --sync "$window" 2>/dev/null
xdotool key U554A Return
check "the query of 啊 writes the header and its record" wait_for cmp -s "$history_file" "$data/history_after_a.txt" ||
    { echo "--- the history file holds:"; iconv -f GBK -t UTF-8 "$history_file" 2>&1 | tail -2; }

# --- the always-on-top check box
origin_before=$(window_origin)
xdotool mousemove --window "$window" $(($(twips 2760) + 8)) $(($(twips 120) + 8)) click 1
check "ticking the box stores SetOnTop=1" wait_for grep -q $'^SetOnTop=1\r$' "$settings_file"
check "ticking the box puts the window above the others" wait_for bash -c "xprop -id $window _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE"
check "ticking the box does not move the window" test "$(window_origin)" = "$origin_before"

# --- a restart keeps the window on top
stop_program
start_program
check "a restart with SetOnTop=1 starts above the others" wait_for bash -c "xprop -id $window _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE"
stop_program

# --- a read-only program directory
if [ "${3:-}" = installed ]; then
    check "nothing is written beside the installed program" \
        test ! -e "$program/SetValve.ini" -a ! -e "$program/历史记录.txt"
elif [ "$(id -u)" -eq 0 ]; then
    echo "skip the read-only program directory: root ignores permissions (the test command runs unprivileged)"
else
    rm "$settings_file" "$history_file"
    chmod a-w "$program"
    start_program
    check "in a read-only directory the window still appears" test -n "$window"
    check "in a read-only directory the window keeps its title" bash -c "xprop -id $window _NET_WM_NAME | grep -qF '\"$title\"'"
    check "in a read-only directory no settings file comes into being" test ! -e "$settings_file"
    stop_program
fi

if [ "$failures" -gt 0 ]; then
    echo "--- tinglan's output"; cat "$work/tinglan.log"
    exit 1
fi
