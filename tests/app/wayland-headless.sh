#!/usr/bin/env bash
# Korumi on a Wayland compositor that activates no window (weston's headless back end) through
# Qt's Wayland plugin: the window loads its settings and the given file without being activated,
# and a conversion started through the screen-reader interface completes, holding a logind
# inhibitor (python-dbusmock's stand-in, on a private system bus) only while it runs.
set -euo pipefail
command -v weston >/dev/null && command -v dbus-run-session >/dev/null &&
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || exit 77
if [ -z "${KORUMI_TEST_BUS:-}" ]; then # a session bus and a runtime folder of the test's own
    runtime=$(mktemp -d) && chmod 700 "$runtime" && status=0
    KORUMI_TEST_BUS=1 XDG_RUNTIME_DIR=$runtime dbus-run-session -- "$0" "$@" || status=$?
    rm -rf "$runtime" && exit "$status"
fi
work=$(mktemp -d)
cleanup() {
    local status=$?
    kill "${korumi_pid:-}" "${weston_pid:-}" "${system_bus_pid:-}" 2>/dev/null || true
    wait "${korumi_pid:-}" "${weston_pid:-}" 2>/dev/null || true
    grep -q Sanitizer "$work/korumi.log" 2>/dev/null && { cat "$work/korumi.log"; status=1; }
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
cp "$1/korumi" "$1/profile.txt" "$work/"
ln -s "$1/ffmpeg.exe" "$work/ffmpeg.exe"
printf '[SET2]\nC11=%s\n' "$work/out" >"$work/Korumi.ini"
ffmpeg -v error -nostdin -f lavfi -i testsrc=size=160x120:rate=10:duration=1 "$work/a.avi"

inotifywait -q -t 60 -e create --include 'korumi-test$' "$XDG_RUNTIME_DIR" >/dev/null &
watch=$!
weston --backend=headless-backend.so --socket=korumi-test --idle-time=0 >"$work/weston.log" 2>&1 &
weston_pid=$!
wait $watch || true
[ -S "$XDG_RUNTIME_DIR/korumi-test" ] || { cat "$work/weston.log"; echo "weston never took connections"; exit 1; }

bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1)
export DBUS_SYSTEM_BUS_ADDRESS=${bus%%$'\n'*}
system_bus_pid=${bus##*$'\n'}

unset DISPLAY
export WAYLAND_DISPLAY=korumi-test QT_QPA_PLATFORM=wayland QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
"$work/korumi" "$work/a.avi" </dev/null >/dev/null 2>"$work/korumi.log" &
korumi_pid=$!
TESTS_APP=$(dirname "$(realpath "$0")") /usr/bin/python3 - "$korumi_pid" "$work/a.avi" "$work/out/a.mp4" <<'PY' || { cat "$work/korumi.log"; exit 1; }
import sys
import os
import dbusmock
import pyatspi
sys.path.insert(0, os.environ['TESTS_APP'])
from atspi_windows import frame, wait_for
PID, FILE, OUTPUT = int(sys.argv[1]), sys.argv[2], sys.argv[3]
def showing(window):  # a hidden window stays in the tree here
    return window is not None and window.getState().contains(pyatspi.STATE_SHOWING)
def control(window, role, name):
    stack = [window]
    while stack:
        node = stack.pop()
        if node.getRoleName() == role and node.name == name:
            return node
        stack.extend(node)
main = wait_for(lambda: frame(PID, 'Korumi'), 'the main window')
listed = wait_for(lambda: control(main, 'list', '変換対象ファイル'), 'the input list')
wait_for(lambda: [item.name for item in listed] == [FILE], 'the given file in the list')
start = control(main, 'push button', '[ 変換開始 ]')
wait_for(lambda: start.getState().contains(pyatspi.STATE_ENABLED), 'an enabled start button')
calls = open(os.path.join(os.path.dirname(FILE), 'logind.log'), 'w+')
logind, manager = dbusmock.DBusTestCase.spawn_server_template('logind', {}, stdout=calls)
start.queryAction().doAction(0)
wait_for(lambda: os.path.exists(OUTPUT) and not showing(frame(PID, '変換の進み具合')), 'the end of the run')
calls.seek(0)
assert 'Inhibit "sleep:idle" "Korumi" "動画を変換しています" "block"' in calls.read(), 'no inhibitor taken'
assert not manager.ListInhibitors(dbus_interface='org.freedesktop.login1.Manager'), 'the inhibitor kept'
assert frame(PID, 'Korumi') is not None
logind.terminate()
PY
[ -s "$work/out/a.mp4" ] || { echo "no a.mp4 after the run"; exit 1; }
echo "1 passed, 0 failed"
