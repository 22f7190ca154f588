#!/usr/bin/env bash
# Batch conversion, like with like: Korumi against the very ffmpeg commands its encoder front runs
# (written down through KORUMI_COMMAND_LOG), on the same clips, in alternating rounds.
# - The console mode (its default --jobs: 3 files at a time) against those commands run three at
#   a time (xargs -P3): six 10-second 1280x720 clips in one and in two passes, and thirty
#   half-second clips. Goal: at most 1.0 x.
# - The window (one file at a time) against the commands one after another, on the six clips in
#   one pass. Goal: at most 1.02 x.
# Every file Korumi writes must be byte for byte the file the commands write.
# Korumi runs its encoders under the batch scheduling policy; the commands run as typed, under the
# normal one. For information, the one-pass case is also run against the commands under that policy.
set -euo pipefail
build_dir=$(realpath "$1")
runs=${RUNS:-3}
lib=$(cd "$(dirname "$0")/../lib" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/hd" "$work/short" "$work/passlogs"
# A program folder of its own, so the bench never touches the build's settings.
cp "$build_dir/bin/korumi" "$build_dir/bin/profile.txt" "$work/program/"
ln -s "$build_dir/bin/ffmpeg.exe" "$work/program/ffmpeg.exe"
make_clips() { # folder, count, seconds, size
    for i in $(seq -w 1 "$2"); do
        ffmpeg -v error -nostdin -y -f lavfi -i "testsrc2=size=$4:rate=30:duration=$3" \
            -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$3" -pix_fmt yuv420p "$1/clip$i.avi"
    done
}
make_clips "$work/hd" 6 10 1280x720
make_clips "$work/short" 30 0.5 640x360

# Writes the settings (C12: two passes) and records the commands of one Korumi run of the clips in
# FOLDER as $work/direct.txt, one line per file. The run also warms the caches.
record() { # two passes (0 or 1), folder
    rm -rf "$work/korumi-out" "$work/direct-out" "$work/commands.log"
    mkdir -p "$work/direct-out"
    printf '[SET2]\nC11=%s\nC12=%s\n' "$work/korumi-out" "$1" >"$work/program/Korumi.ini"
    KORUMI_COMMAND_LOG=$work/commands.log "$work/program/korumi" --convert "$2" >/dev/null
    python3 "$lib/commands.py" "$work/commands.log" "$work/direct-out" "$work/passlogs" >"$work/direct.txt"
}

# Fails the bench unless each of Korumi's files is the commands' file, byte for byte.
same_outputs() {
    local file
    for file in "$work/korumi-out"/*.mp4; do
        cmp -s "$file" "$work/direct-out/${file##*/}" || { echo "$file differs from the direct encode"; exit 1; }
    done
    echo "      outputs: $(ls "$work/korumi-out" | wc -l) files, byte-identical to the commands'"
}

xargs_commands() { # prefix, with which the commands run
    echo "$1 xargs -P3 -d '\n' -I{} sh -c {} <'$work/direct.txt' >/dev/null 2>&1"
}

console_against_xargs() { # two passes, folder, goal name
    record "$1" "$2"
    echo "-- $3"
    python3 "$lib/compare.py" --runs "$runs" \
        --label console -- "$work/program/korumi" --convert "$2" \
        --label xargs -- sh -c "$(xargs_commands '')" \
        --goal 1.0 --name "$3: the console mode within 1.0 x the same commands under xargs -P3"
    same_outputs
}

console_against_xargs 0 "$work/hd" "six 720p clips, one pass"
echo "-- not a goal: six 720p clips, one pass, against the commands under the batch policy"
python3 "$lib/compare.py" --runs "$runs" \
    --label console -- "$work/program/korumi" --convert "$work/hd" \
    --label "xargs (batch)" -- sh -c "$(xargs_commands 'chrt -b 0')"
console_against_xargs 1 "$work/hd" "six 720p clips, two passes"
console_against_xargs 0 "$work/short" "thirty half-second clips"

record 0 "$work/hd"
rm -r "$work/korumi-out" # what the window writes, and nothing else, is compared below
echo "-- the window, one file at a time"
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen python3 "$lib/compare.py" --runs "$runs" \
    --label window -- "$build_dir/bench/bench_window_batch" "$work/program" "$work/hd"/*.avi \
    --label commands -- sh -c "sh '$work/direct.txt' >/dev/null 2>&1" \
    --goal 1.02 --name "six 720p clips: the window within 1.02 x the same commands one after another"
same_outputs
