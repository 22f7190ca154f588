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
    # No reset when a client leaves: a reset refuses the next client for a moment. The server
    # writes its display number once it takes connections; reading it waits for exactly that.
    mkfifo "$work/display"
    Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 3>"$work/display" >/dev/null 2>&1 &
    x_pid=$!
    local number
    read -r -t 60 number <"$work/display" || { echo "the X server never took connections"; exit 1; }
    export DISPLAY=:$number
}

# Ends every Korumi started and the server, waiting until they have gone so that nothing of
# theirs outlives the test and the next test's server starts afresh. A sanitizer's report in
# what a Korumi wrote on standard error fails the test.
end_window_test() {
    local status=$?
    for pid in "${korumi_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    kill "${wm_pid:-}" 2>/dev/null || true
    wait "${wm_pid:-}" 2>/dev/null || true
    kill "${x_pid:-}" 2>/dev/null || true
    wait "${x_pid:-}" 2>/dev/null || true
    if grep -q 'Sanitizer' "$work"/korumi-*.log 2>/dev/null; then
        cat "$work"/korumi-*.log
        status=1
    fi
    rm -rf "$work"
    exit "$status"
}
korumi_pids=()

# Starts openbox (its files in $work) and waits until it manages windows; skips the test without it.
start_window_manager() {
    command -v openbox >/dev/null && command -v xprop >/dev/null || exit 77
    HOME=$work XDG_CONFIG_HOME=$work XDG_CACHE_HOME=$work openbox --sm-disable >/dev/null 2>&1 &
    wm_pid=$!
    # xprop prints the root's properties now and again whenever one changes; openbox sets this
    # one once it manages windows.
    grep -q -m1 '_NET_SUPPORTING_WM_CHECK.*window id' < <(timeout 30 xprop -spy -root) ||
        { echo "the window manager never started" && exit 1; }
}

# Starts Korumi's window with ARGUMENTS and waits until it has the input focus (its first
# activation, which loads the settings, comes before any input sent after that) and, given files,
# until its input list shows them. Sets korumi_pid and window.
start_korumi() {
    local log=$work/korumi-${#korumi_pids[@]}.log
    "$work/korumi" "$@" </dev/null >/dev/null 2>"$log" &
    korumi_pid=$!
    korumi_pids+=("$korumi_pid")
    window=
    for _ in $(seq 300); do
        window=$(xdotool search --all --onlyvisible --pid "$korumi_pid" --name '^Korumi$' 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ] && break
        window=
        sleep 0.1
    done
    [ -n "$window" ] || { echo "the window never appeared with the focus:"; cat "$log"; exit 1; }
    [ $# -eq 0 ] && return 0
    # The files are taken in the background; the list shows them once the cream drop panel over
    # it has gone and the strip below its rows is white.
    local at=$(window_position)
    wait_for_colour $((${at%,*} + 20)) $((${at#*,} + 140)) 360 ffffff && return 0
    echo "the input list never showed the files"
    exit 1
}

# Waits until each of the WIDTH pixels from X,Y to the right on the screen has the colour RGB (hex,
# as ffffff), or with a fifth argument "gone", until fewer than half of them have it (a row of text
# took another background); fails when that never happens.
wait_for_colour() {
    local colours
    for _ in $(seq 300); do
        colours=$(ffmpeg -v error -nostdin -f x11grab -video_size "${3}x1" -i "$DISPLAY+$1,$2" -frames:v 1 \
            -f rawvideo -pix_fmt rgb24 - 2>/dev/null | od -An -v -tx1 -w3 | tr -d ' ')
        if [ -z "${5:-}" ]; then [ "$(sort -u <<<"$colours")" = "$4" ] && return 0
        elif [ -n "$colours" ] && [ "$(grep -cx "$4" <<<"$colours")" -lt $(($3 / 2)) ]; then return 0; fi
        sleep 0.1
    done
    return 1
}

# Where WINDOW (default: the main window) stands, as "x,y".
window_position() {
    xdotool getwindowgeometry "${1:-$window}" | sed -n 's/ *Position: \([0-9]*,[0-9]*\).*/\1/p'
}

# Waits until WINDOW stands at POSITION ("x,y"); fails when it never does.
wait_for_position() {
    for _ in $(seq 300); do
        [ "$(window_position "$1")" = "$2" ] && return 0
        sleep 0.1
    done
    return 1
}

# The progress window of the Korumi started last, once it shows; empty when it does not.
progress_window() {
    local candidate
    for _ in $(seq 300); do
        for candidate in $(xdotool search --all --onlyvisible --pid "$korumi_pid" --name '^Korumi$' 2>/dev/null); do
            xdotool getwindowgeometry "$candidate" | grep -q 'Geometry: 401x72' && { echo "$candidate"; return 0; }
        done
        sleep 0.1
    done
}

# Presses the left button at X Y, moves it by DX DY in two steps and lets go.
drag() {
    xdotool mousemove "$1" "$2" mousedown 1 mousemove $(($1 + $3 / 2)) $(($2 + $4 / 2)) \
        mousemove $(($1 + $3)) $(($2 + $4)) mouseup 1
}

# Waits until the encoder front writes TARGET, under the temporary name it gives a file until the
# file is whole; fails the test when that never happens.
wait_until_encoding() {
    local folder=${1%/*} name=${1##*/}
    for _ in $(seq 1200); do
        [ -n "$(find "$folder" -maxdepth 1 -name ".$name.korumi-tmp-*" -size +0 2>/dev/null)" ] && return 0
        sleep 0.1
    done
    echo "the encoder never started writing $1"
    exit 1
}
