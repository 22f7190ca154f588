#!/usr/bin/env bash
# What a screen reader learns of Korumi's windows, read through AT-SPI on a real X server: every
# control has a name that says what it does, the skinned ones their roles and real values, none is
# in the tree unseen, a run starts and its file is cancelled through the buttons, and "Del" can be
# pressed. Then the windows are used with the keyboard alone: Tab reaches every button, a digit
# bar takes End, Home, typed digits and PageUp, and a run is started and cancelled by keys.
set -euo pipefail
command -v dbus-run-session >/dev/null && /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || exit 77
# A session bus of the test's own, which starts the accessibility bus; both end with the test.
if [ -z "${KORUMI_TEST_BUS:-}" ]; then
    runtime=$(mktemp -d) && status=0
    KORUMI_TEST_BUS=1 XDG_RUNTIME_DIR=$runtime dbus-run-session -- "$0" "$@" || status=$?
    rm -rf "$runtime" && exit "$status"
fi
source "$(dirname "$0")/window-test.sh"
begin_window_test "$1"
printf '[SET1]\nC1=28\nC2=1200\nC3=2\nC4=96\nC5=3\n[SET2]\nC11=%s\n' "$work/out" >"$work/Korumi.ini"
# Converted to 1280x720, a minute of 640x480 takes far longer than the test reads.
ffmpeg -v error -nostdin -f lavfi -i testsrc=size=640x480:rate=30:duration=60 -c:v mpeg4 "$work/a.avi"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 # Qt offers its tree without asking whether a reader runs
start_korumi "$work/a.avi"
/usr/bin/python3 "$(dirname "$0")/accessible-tree.py" "$korumi_pid" "$work/a.avi" "$work/out"

# The same windows with the keyboard alone, driven by keys and followed through AT-SPI.
kill "$korumi_pid" && wait "$korumi_pid" || true
start_korumi "$work/a.avi"
/usr/bin/python3 "$(dirname "$0")/keyboard-tour.py" "$korumi_pid"
