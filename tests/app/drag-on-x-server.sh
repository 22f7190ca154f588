#!/usr/bin/env bash
# Drags Korumi's borderless window with a real pointer on a real X server: a press on the title
# strip moves the window, a press on the input panel does not.
set -euo pipefail
source "$(dirname "$0")/window-test.sh"
begin_window_test "$1"
start_korumi

drag() { xdotool mousemove "$1" "$2" mousedown 1 mousemove $(($1 + 20)) $(($2 + 20)) mousemove $(($1 + 40)) $(($2 + 30)) mouseup 1; sleep 0.3; }

start=$(window_position)
[ "$start" = "20,20" ] || { echo "window starts at $start, not 20,20"; exit 1; }
drag 120 30          # the title strip, 100,10 inside the window
moved=$(window_position)
[ "$moved" = "60,50" ] || { echo "dragging the title strip left the window at $moved"; exit 1; }
drag 150 150         # the input panel, a window of its own
[ "$(window_position)" = "$moved" ] || { echo "dragging the input panel moved the window to $(window_position)"; exit 1; }
echo "1 passed, 0 failed"
