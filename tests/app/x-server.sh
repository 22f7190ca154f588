# Sourced by the tests that need a real X server: start_x_server WORK_DIR starts Xvfb on a free
# display, waits until it takes connections, and exports DISPLAY; x_pid is the server.
start_x_server() {
    local work=$1
    Xvfb -displayfd 3 -screen 0 1280x1024x24 3>"$work/display" >/dev/null 2>&1 &
    x_pid=$!
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    export DISPLAY=:$(cat "$work/display")
    for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && return 0; sleep 0.1; done
    echo "the X server never took connections"
    return 1
}

# Ends the server and waits until it has gone, so that the next test's server starts afresh.
stop_x_server() {
    [ -n "${x_pid:-}" ] || return 0
    kill "$x_pid" 2>/dev/null || true
    wait "$x_pid" 2>/dev/null || true
}
