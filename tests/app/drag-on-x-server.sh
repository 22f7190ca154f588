#!/usr/bin/env bash
# Drags Korumi's borderless window with a real pointer on a real X server: a press on the title
# strip moves the window, a press on the input panel does not.
set -euo pipefail
program_dir=$1
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77

source "$(dirname "$0")/x-server.sh"
work=$(mktemp -d)
cleanup() {
    kill "${korumi_pid:-}" 2>/dev/null || true
    stop_x_server
    rm -rf "$work"
}
trap cleanup EXIT
cp "$program_dir/korumi" "$program_dir/profile.txt" "$work/"

start_x_server "$work"
"$work/korumi" </dev/null >/dev/null 2>&1 &
korumi_pid=$!

window=
for _ in $(seq 100); do
    window=$(xdotool search --name '^Korumi$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the window never appeared"; exit 1; }
sleep 0.5

position() { xdotool getwindowgeometry "$window" | sed -n 's/ *Position: \([0-9]*,[0-9]*\).*/\1/p'; }
drag() { xdotool mousemove "$1" "$2" mousedown 1 mousemove $(($1 + 20)) $(($2 + 20)) mousemove $(($1 + 40)) $(($2 + 30)) mouseup 1; sleep 0.3; }

start=$(position)
[ "$start" = "20,20" ] || { echo "window starts at $start, not 20,20"; exit 1; }
drag 120 30          # the title strip, 100,10 inside the window
moved=$(position)
[ "$moved" = "60,50" ] || { echo "dragging the title strip left the window at $moved"; exit 1; }
drag 150 150         # the input panel, a window of its own
[ "$(position)" = "$moved" ] || { echo "dragging the input panel moved the window to $(position)"; exit 1; }
echo "1 passed, 0 failed"
