#!/usr/bin/env bash
# What a screen reader learns of Korumi's main window, read through AT-SPI on a real X server:
# every control shown has a name, the skinned ones their roles and values, and "Del" can be pressed.
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
touch "$work/a.avi"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 # Qt offers its tree without asking whether a reader runs
start_korumi "$work/a.avi"
/usr/bin/python3 "$(dirname "$0")/accessible-tree.py" "$korumi_pid" "$work/a.avi" "$work/out"
