#!/usr/bin/env bash
# Installs the Debian packages Korumi needs to build, run and test, if any are missing: as root
# directly, otherwise through sudo. Says what to do instead when neither is possible. Packages
# named as arguments are installed too (a benchmark's comparison tool).
set -euo pipefail

packages=(
    cmake ninja-build g++ make pkg-config clang-format
    qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev qt6-translations-l10n qt6-wayland
    libjpeg62-turbo-dev libfontconfig-dev libavformat-dev
    ffmpeg
    fonts-ipafont-gothic fonts-dejavu-core
    libgtest-dev libgmock-dev
    clang libclang-rt-14-dev
    xvfb xauth xdotool openbox x11-utils
    at-spi2-core python3-pyatspi dbus dbus-daemon dunst systemd
    dpkg-dev file desktop-file-utils appstream lintian man-db bash-completion parallel
    time strace inotify-tools weston python3-dbusmock
    "$@"
)

fail() {
    printf '%s\n' "$@" >&2
    exit 1
}

if ! command -v apt-get >/dev/null || ! command -v dpkg-query >/dev/null; then
    fail "Korumi builds on Debian 12, and this system has no apt-get or dpkg-query." \
        "Install these Debian packages (or your system's equivalents) yourself: ${packages[*]}"
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

root_command="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null ||
        fail "Korumi needs these Debian packages, and installing them takes root (sudo is not installed):" \
            "  ${missing[*]}" \
            "Install them as root, then run this command again:" \
            "  su -c '$root_command'"
    as_root=(sudo)
fi

echo "Installing ${#missing[@]} missing Debian packages (this can take several minutes): ${missing[*]}"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
export DEBIAN_FRONTEND=noninteractive
if ! { "${as_root[@]}" apt-get update -qq && "${as_root[@]}" apt-get install -y -qq --no-install-recommends \
    -o Dpkg::Use-Pty=0 "${missing[@]}"; } </dev/null >"$log" 2>&1; then
    tail -n 20 "$log" >&2
    fail "Installing the packages failed (the messages above say why)." \
        "Install them as root, then run this command again:" \
        "  su -c '$root_command'"
fi
