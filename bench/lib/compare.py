#!/usr/bin/env python3
"""Times two commands alternately and prints both medians and their ratio.

usage: compare.py --runs N --label A -- CMD... --label B -- CMD... [--goal RATIO] [--max-ms MS]
Each command is run once to warm caches, then N times, A and B interleaved. --goal is the most
A may take relative to B; --max-ms the most A's median may take.
"""
import statistics
import subprocess
import sys
import time


def parse(argv):
    runs, goal, max_ms, commands = 5, None, None, []
    i = 0
    while i < len(argv):
        if argv[i] == "--runs":
            runs = int(argv[i + 1]); i += 2
        elif argv[i] == "--goal":
            goal = float(argv[i + 1]); i += 2
        elif argv[i] == "--max-ms":
            max_ms = float(argv[i + 1]); i += 2
        elif argv[i] == "--label":
            label = argv[i + 1]
            assert argv[i + 2] == "--"
            j = i + 3
            while j < len(argv) and argv[j] not in ("--label", "--goal", "--max-ms", "--runs"):
                j += 1
            commands.append((label, argv[i + 3:j])); i = j
        else:
            sys.exit(f"unexpected argument {argv[i]}")
    return runs, goal, max_ms, commands


def timed(command):
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    runs, goal, max_ms, commands = parse(sys.argv[1:])
    for _, command in commands:
        timed(command)
    samples = {label: [] for label, _ in commands}
    for _ in range(runs):
        for label, command in commands:
            samples[label].append(timed(command))
    medians = [statistics.median(samples[label]) for label, _ in commands]
    for (label, _), median in zip(commands, medians):
        print(f"{label:>10}: median {median * 1000:9.1f} ms over {runs} runs")
    ratio = medians[0] / medians[1]
    verdict = "" if goal is None else (" (goal <= %.2f: %s)" % (goal, "met" if ratio <= goal else "NOT met"))
    print(f"     ratio: {ratio:.2f}{verdict}")
    print(f"difference: {(medians[0] - medians[1]) * 1000:.1f} ms")
    if max_ms is not None:
        met = "met" if medians[0] * 1000 <= max_ms else "NOT met"
        print(f"      goal: {commands[0][0]} within {max_ms:.0f} ms: {met}")


if __name__ == "__main__":
    main()
