#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Kills the program with SIGKILL at moments spread over its first start: the settings file is
# then either not there at all or holds every first-run byte, never a part of them.
# Usage: first_start_killed.sh TINGLAN TEST_DATA_DIR
set -euo pipefail

program=$1
golden=$2/setvalve_first_run.ini
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$program" "$scratch/tinglan"

complete=0
for delay in 0.005 0.01 0.015 0.02 0.025 0.03 0.035 0.04 0.045 0.05 0.055 0.06 0.08 0.1 0.2 0.5; do
    rm -f "$scratch/SetValve.ini"
    QT_QPA_PLATFORM=offscreen "$scratch/tinglan" >/dev/null 2>&1 &
    sleep "$delay"
    kill -KILL $! 2>/dev/null || true
    wait $! 2>/dev/null || true
    if [ -e "$scratch/SetValve.ini" ]; then
        if ! cmp -s "$scratch/SetValve.ini" "$golden"; then
            echo "killed after ${delay}s: SetValve.ini holds a part of the first-run file:" >&2
            od -c "$scratch/SetValve.ini" | head -20 >&2
            exit 1
        fi
        complete=$((complete + 1))
    fi
done

# A start left alone writes the whole file (however slow the machine): the kills above did cut
# into the writing, not merely come before it.
rm -f "$scratch/SetValve.ini"
QT_QPA_PLATFORM=offscreen "$scratch/tinglan" >/dev/null 2>&1 &
for _ in $(seq 200); do
    [ -s "$scratch/SetValve.ini" ] && break
    sleep 0.1
done
sleep 0.2
kill -KILL $! 2>/dev/null || true
wait $! 2>/dev/null || true
if ! cmp -s "$scratch/SetValve.ini" "$golden"; then
    echo "a start left alone did not write the first-run file" >&2
    exit 1
fi
echo "first start killed 16 times: the settings file was whole or absent each time ($complete whole)"
