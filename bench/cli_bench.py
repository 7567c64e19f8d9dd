#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times `tinglan-query --each` over a 10 MB UTF-8 text of GB2312 hanzi against `wc -m`.

Usage: bench/cli_each_bench.py BUILD_DIR   (reports medians of 7 runs and their ratio)
"""
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time


def make_text(path, size=10 * 1024 * 1024):
    random.seed(1)
    hanzi = [bytes([row, col]).decode("gb2312") for row in range(0xB0, 0xF8)
             for col in range(0xA1, 0xFF) if not (row == 0xD7 and col > 0xF9)]
    written = 0
    with open(path, "w", encoding="utf-8") as out:
        while written < size:
            line = "".join(random.choice(hanzi) for _ in range(40)) + "\n"
            out.write(line)
            written += len(line.encode("utf-8"))


def median_seconds(command, path, runs=7):
    times = []
    for _ in range(runs):
        with open(path, "rb") as source:
            start = time.perf_counter()
            subprocess.run(command, stdin=source, stdout=subprocess.DEVNULL, check=True,
                           env={**os.environ, "LC_ALL": "C.UTF-8"})
            times.append(time.perf_counter() - start)
    return statistics.median(times)


def main():
    tool = os.path.join(sys.argv[1], "cli", "tinglan-query")
    with tempfile.TemporaryDirectory() as scratch:
        path = os.path.join(scratch, "hanzi.txt")
        make_text(path)
        each = median_seconds([tool, "--each"], path)
        wc = median_seconds(["wc", "-m"], path)
    print(f"tinglan-query --each: {each * 1000:.1f} ms; wc -m: {wc * 1000:.1f} ms; "
          f"ratio {each / wc:.2f}")


if __name__ == "__main__":
    main()
