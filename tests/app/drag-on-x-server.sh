#!/usr/bin/env bash
# Drags Korumi's borderless window with a real pointer on a real X server: a press on the title
# strip moves the window, a press on the input panel does not.
set -euo pipefail
source "$(dirname "$0")/window-test.sh"
begin_window_test "$1"
start_korumi

start=$(window_position)
[ "$start" = "20,20" ] || { echo "window starts at $start, not 20,20"; exit 1; }
drag 120 30 40 30 # the title strip, 100,10 inside the window
wait_for_position "$window" 60,50 || { echo "dragging the title strip left the window at $(window_position)"; exit 1; }
drag 150 150 40 30 # the input panel, a window of its own
# Back by the title strip where it stands unless the panel moved the window: the window gets back
# to 20,20 only when the drag of the panel, handled before this one, left it where it was.
drag 160 60 -40 -30
wait_for_position "$window" 20,20 || { echo "dragging the input panel moved the window to $(window_position)"; exit 1; }
echo "1 passed, 0 failed"
