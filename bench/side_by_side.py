# SPDX-License-Identifier: GPL-3.0-or-later
"""Times programs against a floor, side by side in one run, for the benchmark scripts here.

Each program is started directly (no shell), its standard input a file and its output
/dev/null, the programs of a comparison taking turns run after run, so that a change of load on
a shared machine falls on all of them alike. Reported per program: the median wall time (from
the start of the program to the end of its wait, as hyperfine -N counts it; or, on request, to
its first line of output, read from a pipe that is then closed, as head closes it) and its
ratio to the floor's, the median CPU time (user and system) and its ratio, and on request the peak
resident memory of one more run, measured by GNU time, and its excess over the floor's.
"""
import os
import statistics
import subprocess
import time


def read_first_line(pipe):
    """Reads `pipe` up to its first line feed or its end."""
    while True:
        block = os.read(pipe, 4096)
        if not block or b"\n" in block:
            return


def run_once(argv, input_path, env, first_line=False):
    """Runs `argv` once; returns its wall seconds (to its end, or to its first line of output)
    and CPU seconds."""
    stdin = os.open(input_path, os.O_RDONLY)
    reader, stdout = os.pipe() if first_line else (None, os.open(os.devnull, os.O_WRONLY))
    try:
        start = time.perf_counter()
        pid = os.posix_spawn(argv[0], argv, env,
                             file_actions=[(os.POSIX_SPAWN_DUP2, stdin, 0),
                                           (os.POSIX_SPAWN_DUP2, stdout, 1)])
        if first_line:
            os.close(stdout)
            read_first_line(reader)
            wall = time.perf_counter() - start
            os.close(reader)
        _, status, usage = os.wait4(pid, 0)
        if not first_line:
            wall = time.perf_counter() - start
    finally:
        os.close(stdin)
        if not first_line:
            os.close(stdout)
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit(f"{' '.join(argv)} failed")
    return wall, usage.ru_utime + usage.ru_stime


def peak_memory(argv, input_path, env):
    """Returns the peak resident KiB of one run of `argv`. GNU time starts it: a program started
    from this one would count this one's memory as its own, since the peak survives exec."""
    with open(input_path, "rb") as stdin:
        result = subprocess.run(["/usr/bin/time", "-f", "%M", *argv], stdin=stdin, env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=True)
    return int(result.stderr.split()[-1])


def compare(title, commands, runs, input_path=os.devnull, env=None, memory=False,
            first_line=False, reference=None):
    """Times the named commands [(name, argv)], the floor last, taking turns; prints one line
    each, with the wall-time ratio to the command named `reference` too where one is named (a
    target set against another program than the floor); returns {name: median wall seconds}.
    With `first_line`, the wall time ends at the first line of output."""
    env = os.environ if env is None else env
    for _, argv in commands:  # warm the page cache and the loader
        run_once(argv, input_path, env, first_line)
    samples = [[] for _ in commands]
    for _ in range(runs):
        for i, (_, argv) in enumerate(commands):
            samples[i].append(run_once(argv, input_path, env, first_line))
    memories = [peak_memory(argv, input_path, env) if memory else 0 for _, argv in commands]
    walls = {name: statistics.median(wall for wall, _ in runs_of)
             for (name, _), runs_of in zip(commands, samples)}
    floor_wall = walls[commands[-1][0]]
    floor_cpu = statistics.median(cpu for _, cpu in samples[-1])
    print(f"{title} ({runs} runs each)")
    for (name, _), runs_of, peak in zip(commands, samples, memories):
        wall = walls[name]
        cpu = statistics.median(cpu for _, cpu in runs_of)
        line = (f"  {name:<24} wall {wall * 1000:9.3f} ms {wall / floor_wall:5.2f}x   "
                f"CPU {cpu * 1000:9.3f} ms {cpu / floor_cpu:5.2f}x")
        if memory:
            line += f"   peak {peak / 1024:6.2f} MiB ({(peak - memories[-1]) / 1024:+.2f})"
        if reference:
            line += f"   {wall / walls[reference]:5.2f}x of {reference}"
        print(line)
    return walls
