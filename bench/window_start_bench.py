#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times tinglan's start-up against a bare Qt window with the same fonts (bench/bare_window),
side by side in one run (side_by_side.py says how). Each program runs with
bench/libquit_when_shown.so preloaded, which ends its event loop once its window is on screen
and painted: what is timed is the start, the first paint and the end.

The programs run on a display of their own (Xvfb) if Xvfb is installed, else on Qt's offscreen
platform. Each tinglan runs from a copy in a scratch directory, where it keeps its two files.

Usage: bench/window_start_bench.py BUILD_DIR [--baseline OTHER_TINGLAN] [--runs N]
BUILD_DIR is a build with TINGLAN_BUILD_BENCH=ON; --baseline adds another build of the window
(an older commit, say).
"""
import argparse
import os
import shutil
import subprocess
import tempfile

from side_by_side import compare


def start_display():
    """Starts Xvfb on a free display; returns the process and the display's name, or None."""
    if not shutil.which("Xvfb"):
        return None
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                               "1280x1024x24", "-nolisten", "tcp"], pass_fds=[write_end],
                              stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as ready:
        number = ready.readline().strip()
    return server, f":{number}"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir")
    parser.add_argument("--baseline")
    parser.add_argument("--runs", type=int, default=40)
    args = parser.parse_args()
    bench = os.path.join(os.path.abspath(args.build_dir), "bench")
    windows = [("tinglan", os.path.join(args.build_dir, "ui", "tinglan"))]
    if args.baseline:
        windows.append(("baseline", args.baseline))

    with tempfile.TemporaryDirectory() as scratch:
        env = {**os.environ, "HOME": scratch, "XDG_RUNTIME_DIR": scratch,
               "LD_PRELOAD": os.path.join(bench, "libquit_when_shown.so")}
        display = start_display()
        if display:
            env["DISPLAY"] = display[1]
            env.pop("WAYLAND_DISPLAY", None)
            env.pop("QT_QPA_PLATFORM", None)
        else:
            env["QT_QPA_PLATFORM"] = "offscreen"
        try:
            commands = []
            for name, program in windows:
                os.mkdir(os.path.join(scratch, name))
                copy = os.path.join(scratch, name, "tinglan")
                shutil.copy2(program, copy)
                commands.append((name, [copy]))
            commands.append(("bare window", [os.path.join(bench, "bare_window")]))
            where = f"Xvfb {display[1]}" if display else "the offscreen platform"
            compare(f"start-up to the first paint, on {where}", commands, args.runs, env=env)
        finally:
            if display:
                display[0].terminate()
                display[0].wait()


if __name__ == "__main__":
    main()
