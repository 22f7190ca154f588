#!/usr/bin/env bash
# SIGTERM to Korumi's window in the middle of an encode, on a real X server: the running pass
# ends (no encoder left, no partial file, the user's earlier file as it was), the settings are
# saved and Korumi exits.
set -euo pipefail
source "$(dirname "$0")/window-test.sh"
begin_window_test "$1"
# Converted to 1280x720, a minute of 640x480 takes far longer than the test waits.
printf '[SET1]\nC5=3\n[SET2]\nC11=%s\n' "$work/out" >"$work/Korumi.ini"
ffmpeg -v error -nostdin -f lavfi -i testsrc=size=640x480:rate=30:duration=60 -c:v mpeg4 "$work/slow.avi"
target=$work/out/slow.mp4
mkdir -p "$work/out"
echo "the user's own" >"$target"
start_korumi "$work/slow.avi"
xdotool mousemove 120 550 click 1 # "[ 変換開始 ]"
wait_until_encoding "$target"

kill -TERM "$korumi_pid"
for _ in $(seq 600); do kill -0 "$korumi_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$korumi_pid" 2>/dev/null; then echo "Korumi did not exit"; exit 1; fi
failed=0
if pgrep -f "$target" >/dev/null; then echo "an encoder outlived Korumi"; failed=1; fi
if [ "$(ls -A "$work/out")" != slow.mp4 ]; then echo "left behind: $(ls -A "$work/out")"; failed=1; fi
if [ "$(cat "$target")" != "the user's own" ]; then echo "the user's slow.mp4 was changed"; failed=1; fi
grep -q '^M_LEFT=' "$work/Korumi.ini" || { echo "the settings were not saved"; failed=1; }
[ "$failed" -eq 0 ] && echo "1 passed, 0 failed"
exit "$failed"
