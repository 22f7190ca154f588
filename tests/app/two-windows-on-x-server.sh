#!/usr/bin/env bash
# Two windows converting the same source into the same folder at the same time, two passes each,
# on a real X server: the second takes "clip (2).mp4", and both files decode without one error.
set -euo pipefail
source "$(dirname "$0")/window-test.sh"
begin_window_test "$1"
printf '[SET2]\nC11=%s\nC12=1\n' "$work/out" >"$work/Korumi.ini"
ffmpeg -v error -nostdin -f lavfi -i testsrc=size=640x480:rate=30:duration=10 -c:v mpeg4 "$work/clip.avi"

start_korumi "$work/clip.avi"
first_pid=$korumi_pid
# Out of the way, so that the screen shows the second window as it is and nothing of the first.
drag 120 30 600 0
wait_for_position "$window" 620,20 || { echo "the first window stays at $(window_position)"; exit 1; }
xdotool mousemove 720 550 click 1 # "[ 変換開始 ]"
wait_until_encoding "$work/out/clip.mp4"
start_korumi "$work/clip.avi" # a window of its own, where the first one started
xdotool mousemove 120 550 click 1
wait_until_encoding "$work/out/clip (2).mp4"

# A target appears only once its file is whole.
for _ in $(seq 1200); do
    [ -e "$work/out/clip.mp4" ] && [ -e "$work/out/clip (2).mp4" ] && break
    sleep 0.1
done
kill "$first_pid" 2>/dev/null || true
failed=0
for name in clip.mp4 "clip (2).mp4"; do
    errors=$(ffmpeg -nostdin -v error -i "$work/out/$name" -f null - 2>&1) || errors="${errors:-cannot be read}"
    [ -z "$errors" ] || { echo "$name: $errors" | head -n 3; failed=1; }
done
[ "$(LC_ALL=C ls -A "$work/out")" = "$(printf 'clip (2).mp4\nclip.mp4')" ] || { echo "in the folder: $(ls -A "$work/out")"; failed=1; }
[ "$failed" -eq 0 ] && echo "1 passed, 0 failed"
exit "$failed"
