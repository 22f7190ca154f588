#!/usr/bin/env bash
# Installs what is missing, builds Korumi and starts it from the build's program folder. Without a
# display, shows what it does instead: converts a generated sample clip with the headless convert
# mode and describes the result. See scripts/build.sh for the settings.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build_dir=$(realpath "${KORUMI_BUILD_DIR:-build}")
program_dir=$build_dir/bin

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$program_dir/korumi"
fi

echo "No display found: converting a sample clip with 'korumi --convert' instead of opening the window."
# A program folder of the sample's own: its settings and the converted file stay out of the build's.
sample_dir=$build_dir/sample
mkdir -p "$sample_dir"
cp "$program_dir/korumi" "$program_dir/profile.txt" "$program_dir/ffmpeg.exe" "$sample_dir/"
sample=$sample_dir/sample.avi
if [ ! -s "$sample" ]; then
    ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=640x480:rate=30:duration=10 \
        -f lavfi -i sine=frequency=440:sample_rate=44100:duration=10 -pix_fmt yuv420p "$sample"
fi

status=0
output=$("$sample_dir/korumi" --convert -- "$sample" </dev/null) || status=$?
echo "$output"
folder=$(printf '%s\n' "$output" | sed -n 's/.* files converted into \(.*\); .*/\1/p' | tail -n 1)
result="$folder/sample.mp4"
if [ "$status" -eq 0 ] && [ -f "$result" ]; then
    echo "The converted file is $result:"
    ffprobe -v error -show_entries format=duration,size:stream=codec_name,width,height,display_aspect_ratio,sample_rate \
        -of default=noprint_wrappers=1 "$result"
else
    echo "The conversion did not succeed (status $status)." >&2
    exit 1
fi
