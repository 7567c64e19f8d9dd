#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times tinglan-query against its floors with hyperfine, side by side in one run.

  one character  `tinglan-query 啊`            against cli_floor, a minimal Qt Core program
  --each         `tinglan-query --each <TEXT`  against `wc -m <TEXT` (10 MB of GB2312 hanzi)
  one a line     `tinglan-query <LINES`        against `wc -m <LINES` (10 MB, one hanzi a line)
  typing coach   `typing_run <TEXT`            against `tinglan-query --each <TEXT`, on the hanzi
                 and on 10 MB of words the Wubi source lists, single hanzi and punctuation

Usage: bench/cli_bench.py BUILD_DIR [--baseline OTHER_TINGLAN_QUERY]
BUILD_DIR is a build with TINGLAN_BUILD_BENCH=ON; --baseline adds another build of the tool (an
older commit, say) to each comparison. Needs hyperfine (Debian package hyperfine) and, for the
words, rime-data-wubi's wubi86.dict.yaml.
"""
import argparse
import json
import os
import random
import statistics
import subprocess
import tempfile

SIZE = 10 * 1024 * 1024
WUBI_SOURCE = "/usr/share/rime-data/wubi86.dict.yaml"


def gb2312_hanzi():
    return [bytes([row, col]).decode("gb2312") for row in range(0xB0, 0xF8)
            for col in range(0xA1, 0xFF) if not (row == 0xD7 and col > 0xF9)]


def make_text(path, per_line):
    random.seed(1)
    hanzi = gb2312_hanzi()
    written = 0
    with open(path, "w", encoding="utf-8") as out:
        while written < SIZE:
            line = "".join(random.choice(hanzi) for _ in range(per_line)) + "\n"
            out.write(line)
            written += len(line.encode("utf-8"))


def make_word_text(path):
    """Writes 10 MB of lines of words the Wubi source lists (seven pieces in ten), single hanzi
    and now and then a punctuation mark or a blank."""
    words, in_body = [], False
    with open(WUBI_SOURCE, encoding="utf-8") as source:
        for line in source:
            fields = line.rstrip("\n").split("\t")
            if not in_body:
                in_body = fields[0] == "..."
            elif len(fields) > 1 and len(fields[0]) > 1 and not fields[0].startswith("#") \
                    and not fields[1].startswith("z"):
                words.append(fields[0])
    random.seed(2)
    hanzi = gb2312_hanzi()
    written = 0
    with open(path, "w", encoding="utf-8") as out:
        while written < SIZE:
            pieces = []
            for _ in range(12):
                pieces.append(random.choice(words) if random.random() < 0.7 else random.choice(hanzi))
                if random.random() < 0.15:
                    pieces.append(random.choice("，。、；！？ "))
            line = "".join(pieces) + "\n"
            out.write(line)
            written += len(line.encode("utf-8"))


def hyperfine(commands, scratch, extra):
    """Returns the median wall seconds and the mean CPU seconds (user and system) of each
    command, timed by one hyperfine run."""
    report = os.path.join(scratch, "report.json")
    subprocess.run(["hyperfine", "--style", "none", "--export-json", report, *extra, *commands],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   env={**os.environ, "LC_ALL": "C.UTF-8"})
    with open(report, encoding="utf-8") as source:
        return [(result["median"], result["user"] + result["system"])
                for result in json.load(source)["results"]]


def compare(title, named_commands, scratch, extra, rounds):
    """Times the commands in `rounds` hyperfine runs one after the other, so that a change of
    load on a shared machine shows in all of them alike; the floor is the last command."""
    by_round = [hyperfine([command for _, command in named_commands], scratch, extra)
                for _ in range(rounds)]
    print(f"{title}: median over {rounds} rounds of the median wall time, of its ratio to the "
          "floor in the same round, and of the mean CPU time (user + system) and its ratio")
    for i, (name, _) in enumerate(named_commands):
        wall = statistics.median(times[i][0] for times in by_round)
        wall_ratio = statistics.median(times[i][0] / times[-1][0] for times in by_round)
        cpu = statistics.median(times[i][1] for times in by_round)
        cpu_ratio = statistics.median(times[i][1] / times[-1][1] for times in by_round)
        print(f"  {name:<28} {wall * 1000:8.2f} ms {wall_ratio:5.2f}x   "
              f"CPU {cpu * 1000:8.2f} ms {cpu_ratio:5.2f}x")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir")
    parser.add_argument("--baseline")
    args = parser.parse_args()
    tool = os.path.join(args.build_dir, "cli", "tinglan-query")
    floor = os.path.join(args.build_dir, "bench", "cli_floor")
    typing = os.path.join(args.build_dir, "bench", "typing_run")
    tools = [("tinglan-query", tool)] + ([("baseline", args.baseline)] if args.baseline else [])

    with tempfile.TemporaryDirectory() as scratch:
        text = os.path.join(scratch, "hanzi.txt")
        lines = os.path.join(scratch, "lines.txt")
        words = os.path.join(scratch, "words.txt")
        make_text(text, 40)
        make_text(lines, 1)
        make_word_text(words)
        compare("one character (no shell)",
                [(f"{name} 啊", f"{path} 啊") for name, path in tools] + [("cli_floor", floor)],
                scratch, ["-N", "--warmup", "10", "--runs", "100"], rounds=5)
        for title, option, source in (("--each, 10 MB of hanzi", " --each", text),
                                      ("one hanzi a line, 10 MB", "", lines)):
            compare(title,
                    [(f"{name}{option}", f"{path}{option} <{source} >/dev/null")
                     for name, path in tools] + [("wc -m", f"wc -m <{source} >/dev/null")],
                    scratch, ["--warmup", "1", "--runs", "5"], rounds=3)
        for title, source in (("typing coach, 10 MB of hanzi", text),
                              ("typing coach, 10 MB of words", words)):
            compare(title, [("typing_run", f"{typing} <{source} >/dev/null"),
                            ("tinglan-query --each", f"{tool} --each <{source} >/dev/null")],
                    scratch, ["--warmup", "1", "--runs", "5"], rounds=3)


if __name__ == "__main__":
    main()
