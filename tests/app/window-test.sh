# Sourced by the tests that drive Korumi's window on a real X server.

# Skips the test (77) without Xvfb or xdotool; otherwise makes $work with a program folder of its
# own (Korumi, its presets and the encoder front from PROGRAM_DIR), starts an X server on a free
# display, and has everything cleaned up at exit.
begin_window_test() {
    command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77
    work=$(mktemp -d)
    trap end_window_test EXIT
    cp "$1/korumi" "$1/profile.txt" "$work/"
    ln -s "$1/ffmpeg.exe" "$work/ffmpeg.exe"
    # No reset when a client leaves: a reset refuses the next client for a moment.
    Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 3>"$work/display" >/dev/null 2>&1 &
    x_pid=$!
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    export DISPLAY=:$(cat "$work/display")
    for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && return 0; sleep 0.1; done
    echo "the X server never took connections"
    exit 1
}

# Ends Korumi and the server, waiting until the server has gone so the next test's starts afresh.
end_window_test() {
    kill "${korumi_pid:-}" 2>/dev/null || true
    kill "${x_pid:-}" 2>/dev/null || true
    wait "${x_pid:-}" 2>/dev/null || true
    rm -rf "$work"
}

# Starts Korumi's window with ARGUMENTS and waits until it is up; sets korumi_pid and window.
start_korumi() {
    "$work/korumi" "$@" </dev/null >/dev/null 2>"$work/korumi.log" &
    korumi_pid=$!
    window=
    for _ in $(seq 100); do
        window=$(xdotool search --pid "$korumi_pid" --name '^Korumi$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "the window never appeared:"; cat "$work/korumi.log"; exit 1; }
    sleep 0.5
}

# Where the main window stands, as "x,y".
window_position() {
    xdotool getwindowgeometry "$window" | sed -n 's/ *Position: \([0-9]*,[0-9]*\).*/\1/p'
}

# Waits until the encoder front writes TARGET, under the temporary name it gives a file until the
# file is whole; fails the test when that never happens.
wait_until_encoding() {
    local folder=${1%/*} name=${1##*/}
    for _ in $(seq 600); do
        [ -n "$(find "$folder" -maxdepth 1 -name ".$name.tmp-*" -size +0 2>/dev/null)" ] && return 0
        sleep 0.1
    done
    echo "the encoder never started writing $1"
    exit 1
}
