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
  one code, word  `tinglan-query --code kbsk`,     against cli_floor answering "啊", and as a
                  `--word 中国`, `--word 汀兰`      ratio to the baseline's `--code kbsk`
  --typing        `tinglan-query --typing <TEXT`   against `cli_floor <TEXT`, and as a ratio to
                                                   `tinglan-query --each <TEXT`, for 10 MiB of
                                                   the hanzi and 10 MiB of words the Wubi source
                                                   lists (seven pieces in ten), single hanzi
                                                   and now and then a punctuation mark or blank
  --strokes       the time to the first line of     against cli_floor answering "啊", and
                  `tinglan-query --strokes SEQ`     against `--code kbsk` (the baseline's too):
                  for one stroke (thousands of      the search is to answer about as fast as
                  lines, read until the first),     --code does
                  a '?' and a sequence that
                  matches nothing (its end)

Usage: bench/cli_bench.py BUILD_DIR [--baseline OTHER_TINGLAN_QUERY] [--runs-scale X]
BUILD_DIR is a build with TINGLAN_BUILD_BENCH=ON; --baseline adds another build of the tool (an
older commit, say) to each comparison; --runs-scale multiplies the number of runs. Needs GNU
time (Debian package time) and, for the words, rime-data-wubi's wubi86.dict.yaml.
"""
import argparse
import os
import random
import tempfile

from side_by_side import compare

LINE = 40  # hanzi per line
WUBI_SOURCE = "/usr/share/rime-data/wubi86.dict.yaml"


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


def listed_words():
    """Returns the words of two or more characters the Wubi source lists under letters a..y."""
    words, in_body = [], False
    with open(WUBI_SOURCE, encoding="utf-8") as source:
        for line in source:
            fields = line.rstrip("\n").split("\t")
            if not in_body:
                in_body = fields[0] == "..."
            elif len(fields) > 1 and len(fields[0]) > 1 and not fields[0].startswith("#") \
                    and not fields[1].startswith("z"):
                words.append(fields[0])
    return words


def word_text(size):
    """Returns lines of twelve pieces in UTF-8, `size` bytes but for a character cut short: a
    listed word (seven in ten) or a single hanzi, each followed now and then (three in twenty)
    by a punctuation mark or a blank."""
    random.seed(2)
    words, hanzi = listed_words(), gb2312_hanzi()
    lines, length = [], 0
    while length < size:
        pieces = []
        for _ in range(12):
            pieces.append(random.choice(words) if random.random() < 0.7 else random.choice(hanzi))
            if random.random() < 0.15:
                pieces.append(random.choice("，。、；！？ "))
        lines.append("".join(pieces) + "\n")
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
        # The baseline, an older build, may know no --strokes: it runs --code alone.
        searches = [(f"--strokes {sequence}", [tool, "--strokes", sequence])
                    for sequence in ("1", "4?434", "5555555555")]
        codes = [(f"{name} --code", [path, "--code", "kbsk"]) for name, path in tools]
        walls = compare("--strokes, time to the first line", searches + codes
                        + [("cli_floor", [floor])], runs(300), one, first_line=True)
        for code_name, _ in codes:
            print(f"  against {code_name} kbsk:")
            for search_name, _ in searches:
                print(f"    {search_name:<22} {walls[search_name] / walls[code_name]:5.2f}x")
        mib = chinese_text(1 << 20)
        for title, data, count in (("--each, 1 KiB of hanzi", chinese_text(1024), 300),
                                   ("--each, 1 MiB of hanzi", mib, 100),
                                   ("--each, 100 MiB of hanzi", mib * 100, 5)):
            path = text_file("text", data)
            compare(title, [(f"{name} --each", [path_, "--each"]) for name, path_ in tools]
                    + [("cli_floor", [floor])], runs(count), path, memory=True)

        queries = [("--code kbsk", ["--code", "kbsk"]), ("--word 中国", ["--word", "中国"]),
                   ("--word 汀兰", ["--word", "汀兰"])]
        baseline_code = [("baseline --code kbsk", [args.baseline, "--code", "kbsk"])]
        compare("one code or word", [(name, [tool, *argv]) for name, argv in queries]
                + (baseline_code if args.baseline else []) + [("cli_floor", [floor])],
                runs(300), one, memory=True,
                reference="baseline --code kbsk" if args.baseline else None)
        for title, data in (("--typing, 10 MiB of hanzi", chinese_text(10 << 20)),
                            ("--typing, 10 MiB of words", word_text(10 << 20))):
            path = text_file("text", data)
            compare(title, [("tinglan-query --typing", [tool, "--typing"]),
                            ("tinglan-query --each", [tool, "--each"]),
                            ("cli_floor", [floor])],
                    runs(10), path, memory=True, reference="tinglan-query --each")


if __name__ == "__main__":
    main()
