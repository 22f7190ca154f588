#!/usr/bin/env bash
# Batch conversion: `korumi --convert` on three 10-second 1280x720 clips with the default
# settings, against the same three encodes run one after another by ffmpeg directly.
set -euo pipefail
build_dir=$1
runs=${RUNS:-3}
bench_dir=$(cd "$(dirname "$0")/.." && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/clips" "$work/korumi-out" "$work/direct-out"

for name in one two three; do
    ffmpeg -v error -y -f lavfi -i testsrc=size=1280x720:rate=30:duration=10 \
        -f lavfi -i sine=frequency=440:sample_rate=44100:duration=10 -pix_fmt yuv420p "$work/clips/$name.avi"
done

# A program folder of its own, so the bench never touches the build's settings.
cp "$build_dir/bin/korumi" "$build_dir/bin/profile.txt" "$work/program/"
ln -s "$build_dir/bin/ffmpeg.exe" "$work/program/ffmpeg.exe"
printf '[SET2]\nC11=%s\n' "$work/korumi-out" > "$work/program/Korumi.ini"

# The default (first) preset: 720x480 H.264 at 30 fps and 2048 kbit/s, AAC 128 kbit/s at 48 kHz.
cat > "$work/direct.sh" <<DIRECT
#!/usr/bin/env bash
set -e
for name in one two three; do
    ffmpeg -nostdin -v error -y -i "$work/clips/\$name.avi" -flags bitexact -s 720x480 -aspect 16:9 \
        -c:v libx264 -profile:v high -level:v 4.0 -b:v 2048k -r 30 -c:a aac -b:a 128k -ar 48000 \
        -pix_fmt yuv420p -movflags +faststart "$work/direct-out/\$name.mp4"
done
DIRECT

env -u DISPLAY -u WAYLAND_DISPLAY python3 "$bench_dir/lib/compare.py" --runs "$runs" \
    --label korumi -- "$work/program/korumi" --convert "$work/clips/one.avi" "$work/clips/two.avi" "$work/clips/three.avi" \
    --label ffmpeg -- bash "$work/direct.sh" \
    --goal 1.10
