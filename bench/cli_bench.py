#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times tinglan-query against its floor, bench/cli_floor (a C program that writes what
`tinglan-query --each` writes, from a direct index), side by side in one run (side_by_side.py
says how), with the peak memory of each:

  one character   `tinglan-query 啊`                against cli_floor answering "啊"
  --each          `tinglan-query --each <TEXT`     against `cli_floor <TEXT`, for 1 KiB, 1 MiB
                                                   and 100 MiB of Chinese text (lines of 40
                                                   random GB2312 hanzi; the 100 MiB are the
                                                   1 MiB text a hundred times)

Usage: bench/cli_bench.py BUILD_DIR [--baseline OTHER_TINGLAN_QUERY] [--runs-scale X]
BUILD_DIR is a build with TINGLAN_BUILD_BENCH=ON; --baseline adds another build of the tool (an
older commit, say) to each comparison; --runs-scale multiplies the number of runs. Needs GNU
time (Debian package time).
"""
import argparse
import os
import random
import tempfile

from side_by_side import compare

LINE = 40  # hanzi per line


def gb2312_hanzi():
    return [bytes([row, col]).decode("gb2312") for row in range(0xB0, 0xF8)
            for col in range(0xA1, 0xFF) if not (row == 0xD7 and col > 0xF9)]


def chinese_text(size):
    """Returns lines of random hanzi in UTF-8, `size` bytes but for a character cut short."""
    random.seed(1)
    hanzi = gb2312_hanzi()
    lines, length = [], 0
    while length < size:
        lines.append("".join(random.choices(hanzi, k=LINE)) + "\n")
        length += len(lines[-1].encode())
    return "".join(lines).encode()[:size].decode(errors="ignore").encode()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir")
    parser.add_argument("--baseline")
    parser.add_argument("--runs-scale", type=float, default=1.0)
    args = parser.parse_args()
    tool = os.path.join(args.build_dir, "cli", "tinglan-query")
    floor = os.path.join(args.build_dir, "bench", "cli_floor")
    tools = [("tinglan-query", tool)] + ([("baseline", args.baseline)] if args.baseline else [])

    def runs(count):
        return max(3, round(count * args.runs_scale))

    with tempfile.TemporaryDirectory() as scratch:
        def text_file(name, data):
            path = os.path.join(scratch, name)
            with open(path, "wb") as out:
                out.write(data)
            return path

        one = text_file("one", "啊\n".encode())
        compare("one character", [(f"{name} 啊", [path, "啊"]) for name, path in tools]
                + [("cli_floor", [floor])], runs(300), one, memory=True)
        mib = chinese_text(1 << 20)
        for title, data, count in (("--each, 1 KiB of hanzi", chinese_text(1024), 300),
                                   ("--each, 1 MiB of hanzi", mib, 100),
                                   ("--each, 100 MiB of hanzi", mib * 100, 5)):
            path = text_file("text", data)
            compare(title, [(f"{name} --each", [path_, "--each"]) for name, path_ in tools]
                    + [("cli_floor", [floor])], runs(count), path, memory=True)


if __name__ == "__main__":
    main()
