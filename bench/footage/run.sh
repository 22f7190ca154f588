#!/usr/bin/env bash
# Real footage that Debian ships, converted with Korumi's default preset (H.264 at 2048 kb/s, a
# 30 frames a second rate, AAC at 128 kb/s and 48 kHz) through the encoder front, in one pass and
# in two, and with HandBrakeCLI at the same geometry, bit rate, passes and audio: picture quality
# (PSNR-Y and SSIM-Y of every picture against the source picture at its time), size and time.
# Goal for each source and mode: Korumi at least HandBrake's PSNR, at most 1.03 x its size, no slower.
set -euo pipefail
build_dir=$(realpath "$1")
rounds=${RUNS:-3}
quality=$(realpath "$(dirname "$0")/../lib/quality.py")
bash "$(dirname "$0")/../../scripts/setup-deps.sh" handbrake-cli opencv-doc python3-imageio

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy of the front: every round runs the same one even if the build changes meanwhile.
front=$work/ffmpeg.exe
cp "$build_dir/bin/ffmpeg.exe" "$front"
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$work/out" "$work/times" "$work/logs"

shipped() { # package file
    dpkg -L "$1" | grep "/$2\$" | head -n 1
}

# vtest.avi's first 20 s of its 80 (a still camera, people walking) keep the bench to minutes.
ffmpeg -v error -nostdin -i "$(shipped opencv-doc vtest.avi)" -t 20 -c copy "$work/vtest.avi"
# Each source with the picture size index that fits its shape: the two near 4:3 fill Korumi's
# 640x480 4:3 frame (Megamind.avi, 15:11, with 6 lines of bars), where the 16:9 frame would leave
# a quarter of it to bars; the 16:9 cockatoo takes the preset's own 720x480 16:9.
sources=(
    "$(shipped opencv-doc Megamind.avi)" 0
    "$work/vtest.avi" 0
    "$(shipped python3-imageio cockatoo.mp4)" 1
)

# Korumi's line for SOURCE at size index SIZE (0: 640x480 4:3, 1: 720x480 16:9) as
# conversion/CommandLine.cpp writes it: PASS 0 for one pass, 1 or 2 for those of two.
korumi_line() { # source size pass output
    local frame=(-s 640x480 -aspect 4:3) first=() last=()
    [ "$2" = 1 ] && frame=(-s 720x480 -aspect 16:9)
    [ "$3" = 1 ] && first=(-pass 1 -an) && last=(-an)
    [ "$3" = 2 ] && first=(-pass 2)
    line=(-i "$1" -y "${first[@]}" -flags bitexact "${frame[@]}" -vcodec libx264 -b 2048k -r 30
        -acodec libfaac -ab 128k -ar 48000 "${last[@]}" "$4")
}

# Where the front puts the picture in the frame of size index SIZE (tools/ffmpeg-front/FitFilter.cpp:
# the source's shape kept, even sizes, centred with pad's even offsets), and that frame's pixel shape.
geometry() { # source size
    python3 - "$1" "$2" <<'EOF'
import json, math, subprocess, sys
from fractions import Fraction
stream = json.loads(subprocess.run(
    ["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
     "stream=width,height,sample_aspect_ratio", "-of", "json", sys.argv[1]],
    check=True, capture_output=True, text=True).stdout)["streams"][0]
frame_w, frame_h, across, up = [(640, 480, 4, 3), (720, 480, 16, 9)][int(sys.argv[2])]
sar = stream.get("sample_aspect_ratio", "0:1").split(":")
sar = float(Fraction(int(sar[0]), int(sar[1]))) if int(sar[0]) else 1.0
dar = stream["width"] / stream["height"] * sar
frame = across / up
pixel = frame * frame_h / frame_w
if dar >= frame:
    w, h = frame_w, math.trunc(frame_w * pixel / dar / 2) * 2
else:
    w, h = math.trunc(frame_h * dar / pixel / 2) * 2, frame_h
x, y = (frame_w - w) // 2 // 2 * 2, (frame_h - h) // 2 // 2 * 2
par = Fraction(across * frame_h, up * frame_w)
print(w, h, x, y, frame_w - w - x, frame_h - h - y, f"{par.numerator}:{par.denominator}", frame_w, frame_h)
EOF
}

# HandBrake's line for the same picture in the same frame (no crop), bit rate, passes and audio:
# x264 high profile at level 4.0, its peak rate mode at 30 frames a second, fast first pass as
# ffmpeg's libx264 does by default, and a file laid out for streaming as Korumi's front does.
handbrake_line() { # source passes output
    local mixdown=stereo
    [ "$(ffprobe -v error -select_streams a:0 -show_entries stream=channels -of csv=p=0 "$1")" = 1 ] &&
        mixdown=mono
    line=(HandBrakeCLI -i "$1" -o "$3" -e x264 -b 2048 --pfr -r 30 -w "$w" -l "$h" --custom-anamorphic
        --pixel-aspect "$par" --crop 0:0:0:0 --encoder-profile high --encoder-level 4.0
        -E av_aac -B 128 -R 48 --mixdown "$mixdown" -O)
    [ $((top + bottom + left + right)) -gt 0 ] && line+=(--pad "top=$top:bottom=$bottom:left=$left:right=$right")
    [ "$2" = 2 ] && line+=(-2 -T)
    return 0
}

# Runs a command, adds its wall time in seconds to the file TIMES and shows its log if it fails.
timed() { # times log command...
    local times=$1 log=$2 start
    shift 2
    start=$EPOCHREALTIME
    if ! "$@" >"$log" 2>&1; then
        tail -n 20 "$log" >&2
        echo "failed: $*" >&2
        exit 1
    fi
    python3 -c "import sys; print(float(sys.argv[2]) - float(sys.argv[1]))" "$start" "$EPOCHREALTIME" >>"$times"
}

# The measurement's check: Megamind.avi made a source whose timestamps start at 1.4 s (an MPEG-TS,
# losslessly), then encoded at a variable rate (one picture in five left out); again a picture
# early (its first picture left out) and a picture late (its first picture shown twice). Both
# must score clearly worse.
check=$work/check
mkdir -p "$check"
ffmpeg -v error -nostdin -i "${sources[0]}" -map 0:v -fps_mode passthrough -c:v libx264 -qp 0 -preset ultrafast \
    "$check/late.ts"
for kind in right early late; do
    repeat='' keep='not(eq(mod(n\,5)\,2))'
    [ $kind = early ] && keep="gte(n\,1)*$keep"
    [ $kind = late ] && repeat=tpad=start=1:start_mode=clone,
    ffmpeg -v error -nostdin -i "$check/late.ts" -c:v libx264 -crf 20 -preset veryfast -fps_mode vfr \
        -vf "${repeat}select='$keep',scale=640:468:flags=lanczos,pad=640:480:0:6" "$check/$kind.mp4"
done
python3 "$quality" "$check/late.ts" --area 640:468:0:6 "$check/right.mp4" "$check/early.mp4" "$check/late.mp4" \
    >"$work/quality"
python3 - "$work/quality" <<'EOF'
import sys
right, early, late = (line.split() for line in open(sys.argv[1]))
print(f"-- the measurement's check, Megamind.avi starting at 1.4 s with one picture in five left out: "
      f"PSNR-Y {right[1]} dB at the right time, {early[1]} dB a picture early, {late[1]} dB a picture late; "
      f"pictures nearer the source picture before+after the one at their time: {right[7]}+{right[8]} of "
      f"{right[5]}, {early[7]}+{early[8]} of {early[5]}, {late[7]}+{late[8]} of {late[5]}")
if max(float(early[1]), float(late[1])) > float(right[1]) - 3:
    sys.exit("the measurement does not tell a picture out of time from the right one: no figures judged")
EOF

# Alternating rounds: each conversion is timed in every round, the two tools taking turns at going first.
geometries=()
for ((i = 0; i < ${#sources[@]}; i += 2)); do
    cat "${sources[i]}" >/dev/null # read once, so that the first round's conversions do not wait for the disk
    geometries+=("$(geometry "${sources[i]}" "${sources[i + 1]}")")
done
two_passes() {
    "$front" "${first[@]}" && "$front" "${line[@]}"
}
for ((round = 0; round < rounds; round++)); do
    for ((i = 0; i < ${#sources[@]}; i += 2)); do
        source=${sources[i]} size=${sources[i + 1]} name=$(basename "${sources[i]}")
        read -r w h left top right bottom par _ <<<"${geometries[i / 2]}"
        for passes in 1 2; do
            tools=(korumi handbrake)
            ((round % 2)) && tools=(handbrake korumi)
            for tool in "${tools[@]}"; do
                out=$work/out/$name.$passes.$tool.mp4
                rm -f "$out"
                times=$work/times/$name.$passes.$tool
                if [ "$tool" = handbrake ]; then
                    handbrake_line "$source" $passes "$out"
                    timed "$times" "$work/logs/handbrake" "${line[@]}"
                elif [ $passes = 1 ]; then
                    korumi_line "$source" "$size" 0 "$out"
                    timed "$times" "$work/logs/korumi" "$front" "${line[@]}"
                else
                    korumi_line "$source" "$size" 1 "$out"
                    first=("${line[@]}")
                    korumi_line "$source" "$size" 2 "$out"
                    timed "$times" "$work/logs/korumi" two_passes
                fi
            done
        done
    done
done

for ((i = 0; i < ${#sources[@]}; i += 2)); do
    source=${sources[i]} name=$(basename "${sources[i]}")
    read -r w h left top _ _ _ frame_w frame_h <<<"${geometries[i / 2]}"
    outputs=()
    for passes in 1 2; do
        outputs+=("$work/out/$name.$passes.korumi.mp4" "$work/out/$name.$passes.handbrake.mp4")
    done
    python3 "$quality" "$source" --area "$w:$h:$left:$top" "${outputs[@]}" >"$work/quality"
    python3 - "$source" "$work/quality" "$work/times/$name" "$work/goals" "$rounds" \
        "${frame_w}x$frame_h, the picture ${w}x$h at $left,$top" <<'EOF'
import json, os, statistics, subprocess, sys
from fractions import Fraction
source, figures, times, goals, rounds, geometry = sys.argv[1:7]
name = os.path.basename(source)
facts = json.loads(subprocess.run(
    ["ffprobe", "-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
     "stream=nb_read_frames,avg_frame_rate:format=duration", "-of", "json", source],
    check=True, capture_output=True, text=True).stdout)
stream = facts["streams"][0]
rate = float(Fraction(stream["avg_frame_rate"]))
print(f"-- {name}: {stream['nb_read_frames']} pictures, {float(facts['format']['duration']):.2f} s, "
      f"{rate:.3f} frames a second; to {geometry}. Korumi / HandBrake: size in bytes, "
      f"PSNR-Y dB average (worst picture), SSIM-Y average (worst), pictures, seconds, pictures nearer the "
      f"source picture before+after the one at their time, median (least-most) time of {rounds} conversions")
lines = [line.split() for line in open(figures)]
for passes, mode in ((1, "one pass"), (2, "two passes")):
    k, h = lines[2 * passes - 2], lines[2 * passes - 1]
    k_times, h_times = (sorted(float(t) for t in open(f"{times}.{passes}.{tool}"))
                        for tool in ("korumi", "handbrake"))
    k_time, h_time = statistics.median(k_times), statistics.median(h_times)
    print(f"{name}, {mode}: size {k[0]} / {h[0]}, PSNR {k[1]} ({k[2]}) / {h[1]} ({h[2]}), "
          f"SSIM {k[3]} ({k[4]}) / {h[3]} ({h[4]}), pictures {k[5]} / {h[5]}, {k[6]} / {h[6]} s, "
          f"nearer {k[7]}+{k[8]} / {h[7]}+{h[8]}, time {k_time:.2f} ({k_times[0]:.2f}-{k_times[-1]:.2f}) / "
          f"{h_time:.2f} ({h_times[0]:.2f}-{h_times[-1]:.2f}) s")
    k_psnr, h_psnr, k_size, h_size = float(k[1]), float(h[1]), int(k[0]), int(h[0])
    met = k_psnr >= h_psnr - 0.05 and k_size <= 1.03 * h_size and k_time <= h_time
    with open(goals, "a") as out:
        print(f"goal {'met' if met else 'NOT met'}: {name} in {mode} at least HandBrake's PSNR at no more "
              f"than 1.03 x its size, no slower (PSNR {k_psnr:.2f} against {h_psnr:.2f} dB, "
              f"size {k_size / h_size:.3f} x, time {k_time / h_time:.2f} x)", file=out)
EOF
done
cat "$work/goals"
