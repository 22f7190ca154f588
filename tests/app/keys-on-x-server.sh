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

# Input is handled in the order it is sent: the click selects, Delete takes it off, Ctrl+Enter starts.
xdotool mousemove 60 63 click 1 # the first row of the input list: a.avi
xdotool key Delete
xdotool key ctrl+Return
wait_until_encoding "$work/out/b.mp4"

failed=0
progress=$(progress_window)
[ -n "$progress" ] || { echo "no progress window during the run"; exit 1; }
before=$(window_position)
drag 120 30 40 30 # the main window's title strip
# The progress window follows a drag of its picture; once it has moved, the drag above was handled.
from=$(window_position "$progress")
drag $((${from%,*} + 40)) $((${from#*,} + 30)) 20 10
wait_for_position "$progress" "$((${from%,*} + 20)),$((${from#*,} + 10))" || { echo "the progress window did not follow its drag"; exit 1; }
[ "$(window_position)" = "$before" ] || { echo "the window moved to $(window_position) during the run"; failed=1; }

# The run is over once its progress window has gone.
for _ in $(seq 1200); do
    shown=$(xdotool search --all --onlyvisible --pid "$korumi_pid" --name '^Korumi$' 2>/dev/null || true)
    grep -qx "$progress" <<<"$shown" || break
    sleep 0.1
done
[ -e "$work/out/b.mp4" ] || { echo "the run did not end with b.mp4"; failed=1; }
[ -e "$work/out/a.mp4" ] && { echo "Delete left a.avi in the list"; failed=1; }
[ "$failed" -eq 0 ] && echo "1 passed, 0 failed"
exit "$failed"
