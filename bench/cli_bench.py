#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Times tinglan-query against its floor, bench/cli_floor (a C program that writes what
`tinglan-query --each` writes, from a direct index), side by side in one run:

  one character   `tinglan-query 啊`                against cli_floor answering "啊"
  --each          `tinglan-query --each <TEXT`     against `cli_floor <TEXT`, for 1 KiB, 1 MiB
                                                   and 100 MiB of Chinese text (lines of 40
                                                   random GB2312 hanzi; the 100 MiB are the
                                                   1 MiB text a hundred times)

Each program is started directly (no shell), its standard input a file and its output
/dev/null, the programs of a comparison taking turns run after run, so that a change of load on
a shared machine falls on all of them alike. Reported per program: the median wall time (from
the start of the program to the end of its wait, as hyperfine -N counts it) and its ratio to
the floor's, the median CPU time (user and system) and its ratio, and the peak resident memory
of one more run, measured by GNU time, and its excess over the floor's.

Usage: bench/cli_bench.py BUILD_DIR [--baseline OTHER_TINGLAN_QUERY] [--runs-scale X]
BUILD_DIR is a build with TINGLAN_BUILD_BENCH=ON; --baseline adds another build of the tool (an
older commit, say) to each comparison; --runs-scale multiplies the number of runs.
"""
import argparse
import os
import random
import statistics
import subprocess
import tempfile
import time

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


def run_once(argv, input_path):
    """Runs `argv` once; returns its wall seconds, CPU seconds and the resource usage."""
    stdin = os.open(input_path, os.O_RDONLY)
    stdout = os.open(os.devnull, os.O_WRONLY)
    try:
        start = time.perf_counter()
        pid = os.posix_spawn(argv[0], argv, os.environ,
                             file_actions=[(os.POSIX_SPAWN_DUP2, stdin, 0),
                                           (os.POSIX_SPAWN_DUP2, stdout, 1)])
        _, status, usage = os.wait4(pid, 0)
        wall = time.perf_counter() - start
    finally:
        os.close(stdin)
        os.close(stdout)
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit(f"cli_bench: {' '.join(argv)} failed")
    return wall, usage.ru_utime + usage.ru_stime


def peak_memory(argv, input_path):
    """Returns the peak resident KiB of one run of `argv`. GNU time starts it: a program started
    from this one would count this one's memory as its own, since the peak survives exec."""
    with open(input_path, "rb") as stdin:
        result = subprocess.run(["/usr/bin/time", "-f", "%M", *argv], stdin=stdin,
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=True)
    return int(result.stderr.split()[-1])


def compare(title, commands, input_path, runs):
    """Times the named commands, the floor last, taking turns; prints one line each."""
    for name, argv in commands:  # warm the page cache and the loader
        run_once(argv, input_path)
    samples = [[] for _ in commands]
    for _ in range(runs):
        for i, (_, argv) in enumerate(commands):
            samples[i].append(run_once(argv, input_path))
    memories = [peak_memory(argv, input_path) for _, argv in commands]
    floor_wall = statistics.median(s[0] for s in samples[-1])
    floor_cpu = statistics.median(s[1] for s in samples[-1])
    floor_memory = memories[-1]
    print(f"{title} ({runs} runs each)")
    for (name, _), runs_of, memory in zip(commands, samples, memories):
        wall = statistics.median(s[0] for s in runs_of)
        cpu = statistics.median(s[1] for s in runs_of)
        print(f"  {name:<24} wall {wall * 1000:9.3f} ms {wall / floor_wall:5.2f}x   "
              f"CPU {cpu * 1000:9.3f} ms {cpu / floor_cpu:5.2f}x   "
              f"peak {memory / 1024:6.2f} MiB ({(memory - floor_memory) / 1024:+.2f})")


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
                + [("cli_floor", [floor])], one, runs(300))
        mib = chinese_text(1 << 20)
        for title, data, count in (("--each, 1 KiB of hanzi", chinese_text(1024), 300),
                                   ("--each, 1 MiB of hanzi", mib, 100),
                                   ("--each, 100 MiB of hanzi", mib * 100, 5)):
            path = text_file("text", data)
            compare(title, [(f"{name} --each", [path_, "--each"]) for name, path_ in tools]
                    + [("cli_floor", [floor])], path, runs(count))


if __name__ == "__main__":
    main()
