#!/usr/bin/env bash
# Batch conversion of three 10-second 1280x720 clips with the default settings: Korumi's window
# (on the offscreen platform) and `korumi --convert` with its default --jobs, each against the
# same three encodes run directly by ffmpeg one after another.
# Goals: the window at most 1.05 x the direct encodes, the console mode at most 0.90 x.
set -euo pipefail
build_dir=$(realpath "$1")
runs=${RUNS:-3}
bench_dir=$(cd "$(dirname "$0")/.." && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/clips" "$work/korumi-out" "$work/direct-out"
clips=()
for name in one two three; do
    ffmpeg -v error -nostdin -y -f lavfi -i testsrc=size=1280x720:rate=30:duration=10 \
        -f lavfi -i sine=frequency=440:sample_rate=44100:duration=10 -pix_fmt yuv420p "$work/clips/$name.avi"
    clips+=("$work/clips/$name.avi")
done

# A program folder of its own, so the bench never touches the build's settings.
cp "$build_dir/bin/korumi" "$build_dir/bin/profile.txt" "$work/program/"
ln -s "$build_dir/bin/ffmpeg.exe" "$work/program/ffmpeg.exe"
printf '[SET2]\nC11=%s\n' "$work/korumi-out" >"$work/program/Korumi.ini"

# The default (first) preset: 720x480 H.264 at 30 fps and 2048 kbit/s, AAC 128 kbit/s at 48 kHz.
cat >"$work/direct.sh" <<DIRECT
#!/usr/bin/env bash
set -e
for name in one two three; do
    ffmpeg -nostdin -v error -y -i "$work/clips/\$name.avi" -flags bitexact -s 720x480 -aspect 16:9 \\
        -c:v libx264 -profile:v high -level:v 4.0 -b:v 2048k -r 30 -c:a aac -b:a 128k -ar 48000 \\
        -pix_fmt yuv420p -movflags +faststart "$work/direct-out/\$name.mp4"
done
DIRECT

echo "-- the window, one file at a time"
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen python3 "$bench_dir/lib/compare.py" --runs "$runs" \
    --label window -- "$build_dir/bench/bench_window_batch" "$work/program" "${clips[@]}" \
    --label ffmpeg -- bash "$work/direct.sh" \
    --goal 1.05

echo "-- the console mode, default --jobs"
env -u DISPLAY -u WAYLAND_DISPLAY python3 "$bench_dir/lib/compare.py" --runs "$runs" \
    --label console -- "$work/program/korumi" --convert "${clips[@]}" \
    --label ffmpeg -- bash "$work/direct.sh" \
    --goal 0.90
