#!/usr/bin/env python3
"""Turns the encoder front's command log (KORUMI_COMMAND_LOG) into the same encodes run directly.

usage: commands.py LOG OUTPUT_FOLDER PASSLOG_FOLDER
Prints one shell line per converted file: its ffmpeg passes joined by &&, in the order they were
run, each word as the front gave it except that the output goes to OUTPUT_FOLDER under the file's
final name (not the front's temporary one) and the pass log to PASSLOG_FOLDER. Thumbnail grabs
and probes are left out: they are Korumi's own work, not the conversion's.
"""
import os
import re
import shlex
import sys

TEMPORARY = re.compile(r"^\.(.*)\.korumi-tmp-[A-Za-z0-9]{6}(\.[^./]*)?$")


def direct(words, output_folder, passlog_folder):
    words = list(words)
    temporary = TEMPORARY.match(os.path.basename(words[-1]))
    words[-1] = os.path.join(output_folder, temporary.group(1) if temporary else os.path.basename(words[-1]))
    if "-passlogfile" in words:
        at = words.index("-passlogfile") + 1
        words[at] = os.path.join(passlog_folder, os.path.basename(words[at]))
    return shlex.join(words)


def main():
    log, output_folder, passlog_folder = sys.argv[1:4]
    files = {}  # a file's pass log, or its line number for a single pass -> its commands
    with open(log, encoding="utf-8") as lines:
        for number, line in enumerate(lines):
            words = shlex.split(line)
            if words[0] != "ffmpeg" or "_thumb" in words[-1]:
                continue
            key = words[words.index("-passlogfile") + 1] if "-passlogfile" in words else number
            files.setdefault(key, []).append(direct(words, output_folder, passlog_folder))
    for passes in files.values():
        print(" && ".join(passes))


if __name__ == "__main__":
    main()
