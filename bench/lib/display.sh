# with_display CMD...: runs CMD on the current display, on a private Xvfb when there is none
# and Xvfb is installed, else on Qt's offscreen platform.
with_display() {
    if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
        "$@"
    elif command -v xvfb-run >/dev/null; then
        xvfb-run -a -s "-noreset -screen 0 1280x1024x24" "$@"
    else
        QT_QPA_PLATFORM=offscreen "$@"
    fi
}
