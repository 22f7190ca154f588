#!/usr/bin/env bash
# A run that ends while another window is active is told through the desktop's notification
# service: dunst on a session bus of the test's own gets "Korumi: N 件を変換しました（失敗 M 件）".
set -euo pipefail
if [ -z "${KORUMI_TEST_OWN_BUS:-}" ]; then
    KORUMI_TEST_OWN_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
source "$(dirname "$0")/window-test.sh"
begin_window_test "$1"
dunst -conf /dev/null >/dev/null 2>&1 &
dunst_pid=$!
trap 'kill "$dunst_pid" 2>/dev/null || true; end_window_test' EXIT

printf '[SET2]\nC11=%s\n' "$work/out" >"$work/Korumi.ini"
# The first file takes long enough for a second window to come up and take the activation.
ffmpeg -v error -nostdin -f lavfi -i testsrc=size=640x480:rate=30:duration=20 -c:v mpeg4 "$work/a.avi"
ffmpeg -v error -nostdin -f lavfi -i testsrc=size=160x120:rate=10:duration=1 "$work/b.avi"
echo "not a video" >"$work/c.avi"
# Watches the bus from now on: the test goes on the moment Korumi asks for a notification.
exec {calls}< <(timeout 120 dbus-monitor --session "interface='org.freedesktop.Notifications',member='Notify'")
start_korumi "$work/a.avi" "$work/b.avi" "$work/c.avi"
xdotool mousemove 120 550 click 1 # "[ 変換開始 ]"
wait_until_encoding "$work/out/a.mp4"
start_korumi # the window the user turned to

grep -q -m1 'member=Notify' <&"$calls" || { echo "no notification was asked for"; exit 1; }
# dunst takes the call before the close that follows it on the bus.
dunstctl close-all
failed=0
dunstctl history | grep -q '"Korumi: 2 件を変換しました（失敗 1 件）"' ||
    { echo "the notification says:"; dunstctl history | grep -A2 summary; failed=1; }
[ "$failed" -eq 0 ] && echo "1 passed, 0 failed"
exit "$failed"
