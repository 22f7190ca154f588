#!/usr/bin/env python3
"""Times two commands in alternating rounds and judges the ratio of their times.

usage: compare.py [--runs N] [--goal RATIO] [--name TEXT] [--max-ms MS]
                  --label A -- CMD... --label B -- CMD...
Each command is run once to warm caches, then N rounds (at least 3) of A and B, alternating which
goes first. Prints each command's min/median/max time, the ratios A/B of the
rounds (min, median, max), and, with --goal, a line "goal met:" or "goal NOT met:" judged on the
median ratio (--name says what the goal is). --max-ms judges A's median time instead.
"""
import statistics
import subprocess
import sys
import time


FLAGS = ("--label", "--runs", "--goal", "--name", "--max-ms")


def parse(argv):
    options = {"runs": 3, "goal": None, "name": None, "max_ms": None}
    commands = []
    i = 0
    while i < len(argv):
        flag = argv[i]
        if flag == "--label":
            assert argv[i + 2] == "--", "a label is followed by -- and its command"
            j = i + 3
            while j < len(argv) and argv[j] not in FLAGS:
                j += 1
            commands.append((argv[i + 1], argv[i + 3:j]))
            i = j
        elif flag in FLAGS:
            key = flag[2:].replace("-", "_")
            options[key] = argv[i + 1] if key == "name" else float(argv[i + 1])
            i += 2
        else:
            sys.exit(f"unexpected argument {flag}")
    if len(commands) != 2:
        sys.exit("two commands are compared")
    options["runs"] = max(3, int(options["runs"]))
    return options, commands


def timed(command):
    """Wall time of one run in seconds."""
    start = time.perf_counter()
    status = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
    if status != 0:
        sys.exit(f"{command[0]} failed with status {status}")
    return time.perf_counter() - start


def main():
    options, commands = parse(sys.argv[1:])
    for _, command in commands:
        timed(command)
    times = {label: [] for label, _ in commands}
    for round_number in range(int(options["runs"])):
        order = commands if round_number % 2 == 0 else commands[::-1]
        for label, command in order:
            times[label].append(timed(command))
    for label, _ in commands:
        t = sorted(times[label])
        print(f"{label:>12}: {t[0] * 1000:.0f} / {statistics.median(t) * 1000:.0f} / {t[-1] * 1000:.0f} ms"
              f" (min / median / max)")
    a, b = (label for label, _ in commands)
    ratios = sorted(x / y for x, y in zip(times[a], times[b]))
    median = statistics.median(ratios)
    print(f"{'ratio':>12}: {ratios[0]:.2f} / {median:.2f} / {ratios[-1]:.2f} {a}/{b} over {len(ratios)} rounds")
    difference = statistics.median(times[a]) - statistics.median(times[b])
    print(f"{'difference':>12}: {difference * 1000:.1f} ms between the medians")
    if options["goal"] is not None:
        verdict = "met" if median <= options["goal"] else "NOT met"
        name = options["name"] or f"{a} within {options['goal']:.2f} x {b}"
        print(f"goal {verdict}: {name} (median ratio {median:.2f}, goal <= {options['goal']:.2f})")
    if options["max_ms"] is not None:
        ms = statistics.median(times[a]) * 1000
        verdict = "met" if ms <= options["max_ms"] else "NOT met"
        name = options["name"] or f"{a} within {options['max_ms']:.0f} ms"
        print(f"goal {verdict}: {name} (median {ms:.0f} ms)")


if __name__ == "__main__":
    main()
