#!/usr/bin/env bash
# Encoder front overhead: build/bin/ffmpeg.exe on Korumi's command lines against ffmpeg run
# directly with the equivalent options, on the same short clip. Goal: at most 20 ms more.
set -euo pipefail
build_dir=$(realpath "$1")
runs=${RUNS:-15}
goal_ms=20
front=$build_dir/bin/ffmpeg.exe
compare=$(dirname "$0")/../lib/compare.py

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
make_clip() { # seconds, path
    ffmpeg -v error -nostdin -f lavfi -i "testsrc=size=160x120:rate=10:duration=$1" \
        -f lavfi -i "sine=duration=$1" -c:v mpeg4 "$2"
}
make_clip 1 "$work/clip.avi"
make_clip 6 "$work/long.avi" # long enough for the thumbnail's 5 s seek

# Korumi's line, and the line the front turns it into (pass log aside).
old=(-i "$work/clip.avi" -y -flags bitexact -s 640x480 -aspect 4:3 -vcodec mpeg4 -b 512k -r 10
     -acodec libfaac -ab 64k -ar 22050)
new=(-nostdin -i "$work/clip.avi" -y -flags bitexact -s 640x480 -aspect 4:3 -c:v mpeg4 -b:v 512k -r 10
     -c:a aac -b:a 64k -ar 22050 -pix_fmt yuv420p -movflags +faststart)
thumb_old=(-i "$work/long.avi" -f image2 -ss 5 -vframes 1 -s 80x60 -an)
thumb_new=(-nostdin -ss 5 -i "$work/long.avi" -f image2 -frames:v 1 -s 80x60 -an -update 1 -y)

overhead() { # label, then compare.py's arguments
    local label=$1
    shift
    echo "-- $label"
    local report
    report=$(python3 "$compare" --runs "$runs" "$@")
    echo "$report"
    awk -v goal="$goal_ms" -v label="$label" '$1 == "difference:" {
        printf "goal %s: the front adds at most %d ms to %s (%s ms)\n", ($2 <= goal ? "met" : "NOT met"), goal, label, $2 }' <<<"$report"
}

# Start-up alone shows the front's own cost most clearly.
overhead "start-up" --label front -- "$front" -version --label ffmpeg -- ffmpeg -nostdin -version

overhead "single pass" \
    --label front -- "$front" "${old[@]}" "$work/front.mp4" \
    --label ffmpeg -- ffmpeg "${new[@]}" "$work/direct.mp4"

# Both passes in one shell each way, since the last pass removes the log the next round needs.
# The front pairs the passes by their parent, as Korumi starts both: the closing exit keeps bash
# from running the second pass in its own place, under another parent.
two_passes='encoder=$1 out=$2 log=$3; shift 3
"$encoder" "$@" -pass 1 -an $log "$out" && "$encoder" "$@" -pass 2 $log "$out"
exit $?'
overhead "two passes" \
    --label front -- bash -c "$two_passes" _ "$front" "$work/front2.mp4" "" "${old[@]}" \
    --label ffmpeg -- bash -c "$two_passes" _ ffmpeg "$work/direct2.mp4" "-passlogfile $work/direct2" "${new[@]}"

overhead "thumbnail" \
    --label front -- "$front" "${thumb_old[@]}" "$work/_thumb.jpg" \
    --label ffmpeg -- ffmpeg "${thumb_new[@]}" "$work/direct.jpg"
