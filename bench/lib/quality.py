#!/usr/bin/env python3
"""Picture quality of converted files against their source: PSNR and SSIM of the luma (Y).

usage: quality.py SOURCE --area W:H:X:Y OUTPUT...
Prints one line per output: its size in bytes, PSNR-Y average and worst picture (dB), SSIM-Y
average and worst picture, its number of pictures, its video's length in seconds, and how many of
its pictures look more like the source picture before (then after) the one at their time.

Each output picture is compared with the source picture that shows at that picture's time: the
latest one whose time is not after it. Times count from each file's first picture, since a
source's first timestamp tells little: an MPEG-TS starts anywhere, and Megamind.avi, which packs
its B-frames, meant its first picture to show at 0 s but decodes it with a time of 1/24 s.
Output timestamps are rounded to their clock (HandBrake's 90 kHz clock puts 1/23.976 s 8 µs
early), so a picture may be up to 1 ms early. The source is scaled to the output's picture area
(W x H at X, Y, leaving out the bars either tool adds) by Lanczos with accurate rounding.
"""
import argparse
import bisect
import json
import os
import queue
import statistics
import subprocess
import sys
import tempfile
import threading
from fractions import Fraction

# How early an output picture may be and still count as showing at a source picture's time: its
# timestamp is rounded to its file's clock.
EARLY_ALLOWANCE = Fraction(1, 1000)
# What an identical picture counts as, instead of an infinite PSNR.
PSNR_CEILING = 100.0
# A picture this much nearer (in PSNR-Y) to the source picture before or after the one at its time
# shows at the wrong time; neighbours in a still scene differ by far less.
NEARER_BY = 1.0


def probe(path):
    """The first video stream's frame size, length and each decoded picture's time in seconds."""
    result = subprocess.run(
        ["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
         "stream=width,height,time_base,duration:frame=best_effort_timestamp", "-of", "json", path],
        capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f"{path}: ffprobe failed: {result.stderr.strip()}")
    facts = json.loads(result.stdout)
    stream = facts["streams"][0]
    base = Fraction(stream["time_base"])
    times = []
    for frame in facts["frames"]:
        stamp = frame.get("best_effort_timestamp")
        if stamp is not None:
            times.append(stamp * base)
        elif len(times) >= 2:
            # A picture the decoder gives out at the end without a time (an AVI's held-back one)
            # follows the one before it as ffmpeg places it: one picture's length later.
            times.append(2 * times[-1] - times[-2])
        else:
            sys.exit(f"{path}: a picture without a timestamp at its start")
    if any(later < earlier for earlier, later in zip(times, times[1:])):
        sys.exit(f"{path}: pictures out of time order")
    seconds = float(stream["duration"]) if "duration" in stream else float(times[-1] - times[0])
    return {"width": stream["width"], "height": stream["height"], "times": times, "seconds": seconds}


def pairing(source_times, output_times):
    """For each output picture, the index of the source picture shown at its time."""
    start, first = source_times[0], output_times[0]
    source = [t - start for t in source_times]
    return [max(bisect.bisect_right(source, t - first + EARLY_ALLOWANCE) - 1, 0) for t in output_times]


class Pictures:
    """The source's pictures, scaled, read in order; the last few kept for neighbours' sake."""

    def __init__(self, process, size, count):
        self.process, self.size, self.count = process, size, count
        self.kept = {}
        self.decoded = 0

    def get(self, index):
        index = min(max(index, 0), self.count - 1)
        while self.decoded <= index:
            picture = self.process.stdout.read(self.size)
            if len(picture) != self.size:
                sys.exit(f"the source's decoder gave {self.decoded} pictures, ffprobe {self.count}")
            self.kept[self.decoded] = picture
            self.kept.pop(self.decoded - 3, None)
            self.decoded += 1
        return self.kept[index]

    def finish(self):
        while len(self.process.stdout.read(self.size)) == self.size:
            self.decoded += 1
        if self.process.wait() != 0 or self.decoded != self.count:
            sys.exit(f"the source's decoder gave {self.decoded} pictures, ffprobe {self.count}")


class Writer:
    """Writes pictures to a pipe from a thread of its own, a few pictures behind at most."""

    def __init__(self, stream):
        self.stream = stream
        self.pictures = queue.Queue(maxsize=16)
        self.thread = threading.Thread(target=self.run, daemon=True)  # no wait on a failed measurement
        self.thread.start()

    def put(self, picture):
        self.pictures.put(picture)

    def run(self):
        broken = False
        while (picture := self.pictures.get()) is not None:
            if not broken:
                try:
                    self.stream.write(picture)
                except BrokenPipeError:
                    broken = True  # ffmpeg has stopped; its errors say why
        try:
            self.stream.close()
        except BrokenPipeError:
            pass

    def finish(self):
        self.pictures.put(None)
        self.thread.join()


def measure(source, source_facts, output, area):
    width, height, x, y = area
    output_facts = probe(output)
    if x + width > output_facts["width"] or y + height > output_facts["height"]:
        sys.exit(f"{output}: the area {width}x{height}+{x}+{y} is outside its "
                 f"{output_facts['width']}x{output_facts['height']} frame")
    chosen = pairing(source_facts["times"], output_facts["times"])
    with tempfile.TemporaryDirectory() as folder:
        logs = {name: os.path.join(folder, name + ".log") for name in ("psnr", "ssim", "before", "after")}
        decoder = subprocess.Popen(
            ["ffmpeg", "-nostdin", "-v", "error", "-i", source, "-map", "0:v:0", "-fps_mode", "passthrough",
             "-vf", f"scale={width}:{height}:flags=lanczos+accurate_rnd:out_range=tv,format=yuv420p,"
                    "extractplanes=y",
             "-f", "rawvideo", "-pix_fmt", "gray", "pipe:1"],
            stdout=subprocess.PIPE)
        pictures = Pictures(decoder, width * height, len(source_facts["times"]))
        # The picture at each output picture's time, and the source pictures just before and after
        # it: a picture nearer one of those shows at the wrong time.
        before_read, before_write = os.pipe()
        after_read, after_write = os.pipe()
        raw = ["-f", "rawvideo", "-pix_fmt", "gray", "-s", f"{width}x{height}", "-framerate", "1", "-i"]
        # Every stream is numbered alike, so that the filters pair them one to one.
        numbered = "settb=1,setpts=N"
        graph = (f"[0:v:0]crop={width}:{height}:{x}:{y},extractplanes=y,{numbered},split=4[o1][o2][o3][o4];"
                 f"[1:v]{numbered},split[r1][r2];[2:v]{numbered}[before];[3:v]{numbered}[after];"
                 f"[o1][r1]psnr=stats_file={logs['psnr']}[p];[o2][r2]ssim=stats_file={logs['ssim']}[s];"
                 f"[o3][before]psnr=stats_file={logs['before']}[b];[o4][after]psnr=stats_file={logs['after']}[a]")
        errors = tempfile.TemporaryFile()
        metric = subprocess.Popen(
            ["ffmpeg", "-nostdin", "-v", "error", "-i", output, *raw, "pipe:0", *raw, f"pipe:{before_read}",
             *raw, f"pipe:{after_read}", "-filter_complex", graph]
            + [word for label in "psba" for word in ("-map", f"[{label}]", "-f", "null", "-")],
            stdin=subprocess.PIPE, stderr=errors, pass_fds=(before_read, after_read))
        os.close(before_read)
        os.close(after_read)
        # Each stream has a writer of its own: ffmpeg reads several pictures of one input before
        # it opens the next.
        writers = [Writer(stream) for stream in
                   (metric.stdin, os.fdopen(before_write, "wb"), os.fdopen(after_write, "wb"))]
        for index in chosen:
            for writer, offset in zip(writers, (0, -1, 1)):
                writer.put(pictures.get(index + offset))
        for writer in writers:
            writer.finish()
        pictures.finish()
        if metric.wait() != 0:
            errors.seek(0)
            sys.exit(f"{output}: the measurement failed: {errors.read().decode(errors='replace')[-400:]}")
        psnr, before, after = ([min(fields(line, "psnr_y"), PSNR_CEILING) for line in open(logs[name])]
                               for name in ("psnr", "before", "after"))
        ssim = [fields(line, "Y") for line in open(logs["ssim"])]
    if not len(psnr) == len(ssim) == len(before) == len(after) == len(chosen):
        sys.exit(f"{output}: {len(psnr)} PSNR and {len(ssim)} SSIM figures for {len(chosen)} pictures")
    nearer_before = sum(b > p + NEARER_BY for b, p in zip(before, psnr))
    nearer_after = sum(a > p + NEARER_BY for a, p in zip(after, psnr))
    return (f"{os.path.getsize(output)} {statistics.fmean(psnr):.2f} {min(psnr):.2f} "
            f"{statistics.fmean(ssim):.4f} {min(ssim):.4f} {len(chosen)} {output_facts['seconds']:.3f} "
            f"{nearer_before} {nearer_after}")


def fields(line, key):
    """The value of KEY:VALUE in a line of the psnr or ssim filter's statistics."""
    for word in line.split():
        if word.startswith(key + ":"):
            return float(word[len(key) + 1:])
    sys.exit(f"no {key} in the statistics line {line!r}")


def main():
    parser = argparse.ArgumentParser(description="PSNR-Y and SSIM-Y of outputs against their source")
    parser.add_argument("source")
    parser.add_argument("outputs", nargs="+")
    parser.add_argument("--area", required=True, help="W:H:X:Y, the picture inside the output's frame")
    options = parser.parse_args()
    area = tuple(int(number) for number in options.area.split(":"))
    source_facts = probe(options.source)
    for output in options.outputs:
        print(measure(options.source, source_facts, output, area), flush=True)


if __name__ == "__main__":
    main()
