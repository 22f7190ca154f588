#!/usr/bin/env bash
# A run started from the keyboard, on a real X server with a window manager (openbox): Delete
# takes the selected file off the input list and Ctrl+Enter starts the conversion. While it runs,
# the title strip still drags the window, _ minimises it, and × asks "変換を中止しますか？" above
# the always-on-top progress window: いいえ goes on, はい stops the run and closes Korumi.
set -euo pipefail
source "$(dirname "$0")/window-test.sh"
begin_window_test "$1"
start_window_manager
# Converted to 1280x720, a minute of 640x480 takes far longer than the test waits.
printf '[SET1]\nC5=3\n[SET2]\nC11=%s\n' "$work/out" >"$work/Korumi.ini"
ffmpeg -v error -nostdin -f lavfi -i testsrc=size=160x120:rate=10:duration=1 "$work/a.avi"
ffmpeg -v error -nostdin -f lavfi -i testsrc=size=640x480:rate=30:duration=60 -c:v mpeg4 "$work/b.avi"
start_korumi "$work/a.avi" "$work/b.avi"

# Input is handled in the order it is sent: the click selects, Delete takes it off, Ctrl+Enter starts.
at=$(window_position)
xdotool mousemove $((${at%,*} + 60)) $((${at#*,} + 45)) click 1 # the first row: a.avi
xdotool key Delete
xdotool key ctrl+Return
wait_until_encoding "$work/out/b.mp4"
progress=$(progress_window)
[ -n "$progress" ] || { echo "no progress window during the run"; exit 1; }

drag $((${at%,*} + 120)) $((${at#*,} + 10)) 40 30
at=$((${at%,*} + 40)),$((${at#*,} + 30))
wait_for_position "$window" "$at" || { echo "the title strip did not drag the window during the run"; exit 1; }

# Waits until the main window's WM_STATE is STATE (Iconic or Normal), as the window manager
# announces it; fails when it never is.
wait_for_state() {
    grep -q -m1 "window state: $1" < <(timeout 30 xprop -spy -id "$window" WM_STATE) ||
        { echo "the main window never became $1"; exit 1; }
}
xdotool mousemove $((${at%,*} + 364)) $((${at#*,} + 12)) click 1 # _
wait_for_state Iconic
xdotool windowactivate "$window"
wait_for_state Normal

# Reads the window manager's stacking order (lowest first, decimal ids one a line) now and at each
# change, until the command TEST passes for it; prints that order. Fails when none does.
await_stacking() {
    local line ids
    while read -r line; do
        ids=$(grep -o '0x[0-9a-f]*' <<<"$line" | while read -r id; do echo $((id)); done)
        "$@" "$ids" && { echo "$ids"; return 0; }
    done < <(timeout 60 xprop -spy -root _NET_CLIENT_LIST_STACKING)
    return 1
}
question_in() { grep -qvx -e "$window" -e "$progress" <<<"$1"; }
question_gone() { ! grep -qx "$question" <<<"$1"; }

# Presses × and returns the question's window once it shows, after checking that it stands above
# the progress window.
ask() {
    xdotool mousemove $((${at%,*} + 384)) $((${at#*,} + 12)) click 1
    local stacking
    stacking=$(await_stacking question_in) || { echo "× asked nothing during the run" >&2; exit 1; }
    question=$(grep -vx -e "$window" -e "$progress" <<<"$stacking" | head -n 1)
    [ "$(grep -nx -e "$question" -e "$progress" <<<"$stacking" | tail -n 1 | cut -d: -f2)" = "$question" ] ||
        { echo "the question opened under the progress window" >&2; exit 1; }
    xdotool windowactivate --sync "$question"
}

ask
xdotool key Return # いいえ, the default
await_stacking question_gone >/dev/null || { echo "いいえ did not close the question"; exit 1; }
[ -n "$(progress_window)" ] && kill -0 "$korumi_pid" || { echo "いいえ did not leave the run going"; exit 1; }

ask
xdotool key shift+Tab space # はい
wait "$korumi_pid" || { echo "はい did not stop the run and close Korumi"; exit 1; }
[ -z "$(ls -A "$work/out")" ] || { echo "the stopped run left $(ls -A "$work/out")"; exit 1; }
echo "1 passed, 0 failed"
