#!/usr/bin/env bash
# Keyboard use and a run in progress, on a real X server: Delete takes the selected file off the
# input list, Ctrl+Enter starts the conversion, and while it runs the main window cannot be dragged.
set -euo pipefail
source "$(dirname "$0")/window-test.sh"
begin_window_test "$1"
printf '[SET1]\nC5=3\n[SET2]\nC11=%s\n' "$work/out" >"$work/Korumi.ini"
ffmpeg -v error -nostdin -f lavfi -i testsrc=size=160x120:rate=10:duration=1 "$work/a.avi"
ffmpeg -v error -nostdin -f lavfi -i testsrc=size=640x480:rate=30:duration=15 -c:v mpeg4 "$work/b.avi"
start_korumi "$work/a.avi" "$work/b.avi"

xdotool mousemove 60 63 click 1 # the first row of the input list: a.avi
sleep 0.3
xdotool key Delete
sleep 0.3
xdotool key ctrl+Return
wait_until_encoding "$work/out/b.mp4"

before=$(window_position)
xdotool mousemove 120 30 mousedown 1 mousemove 140 50 mousemove 160 60 mouseup 1
sleep 0.3
failed=0
[ "$(window_position)" = "$before" ] || { echo "the window moved to $(window_position) during the run"; failed=1; }
for _ in $(seq 300); do pgrep -f "$work/out/b.mp4" >/dev/null || break; sleep 0.1; done
[ -e "$work/out/a.mp4" ] && { echo "Delete left a.avi in the list"; failed=1; }
[ "$failed" -eq 0 ] && echo "1 passed, 0 failed"
exit "$failed"
