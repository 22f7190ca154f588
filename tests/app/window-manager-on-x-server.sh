#!/usr/bin/env bash
# Pressing on the title strip under a window manager (openbox), with a real pointer on a real X
# server: a click without a drag moves nothing and the next click reaches the input list; a
# drag hands the window to the window manager, which lets go of it when the button comes up,
# however quickly that happens.
set -euo pipefail
source "$(dirname "$0")/window-test.sh"
begin_window_test "$1"
start_window_manager
touch "$work/a.avi" "$work/b.avi"
start_korumi "$work/a.avi" "$work/b.avi"

# Clicks row ROW (1 or 2) of the input list and waits until it shows selected (its white turns to
# the selection's colour): the click reached the list, not a window manager still moving the
# window. Fails unless the window stays put.
click_row() {
    local at=$(window_position) x y
    x=$((${at%,*} + 60)) y=$((${at#*,} + 34 + 11 * $1))
    xdotool mousemove "$x" "$y" click 1
    wait_for_other_colour $((x + 200)) "$y" 100 ffffff || { echo "$2: the click on row $1 of the list was lost"; exit 1; }
    [ "$(window_position)" = "$at" ] || { echo "$2: the window moved from $at to $(window_position)"; exit 1; }
}

[ "$(window_position)" = 20,20 ] || { echo "window starts at $(window_position), not 20,20"; exit 1; }
xdotool mousemove 120 30 click 1 # the title strip, no drag
click_row 1 "after a click on the title strip"
[ "$(window_position)" = 20,20 ] || { echo "a click on the title strip moved the window"; exit 1; }

# A drag held until the window manager has the window and moves it with the pointer.
xdotool mousemove 120 30 mousedown 1 mousemove 140 45
for i in $(seq 300); do
    xdotool mousemove $((160 + i % 2)) 60
    [ "$(window_position)" != 20,20 ] && break
    sleep 0.1
done
xdotool mouseup 1
[ "$(window_position)" != 20,20 ] || { echo "the window manager never moved the window"; exit 1; }
click_row 2 "after a drag"

# Quick drags, let go of before the window manager may have taken the pointer.
for _ in 1 2 3; do
    at=$(window_position)
    drag $((${at%,*} + 100)) $((${at#*,} + 10)) 40 30
    click_row 1 "after a quick drag"
    click_row 2 "after a quick drag"
done
echo "1 passed, 0 failed"
