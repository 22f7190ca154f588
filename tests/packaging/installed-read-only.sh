#!/usr/bin/env bash
# Installs the build into a temporary prefix, makes the program folder read-only and runs Korumi
# through <prefix>/bin/korumi as a user who cannot write there (nobody, when run as root): the
# console mode converts into the videos folder, the settings start from the shipped Korumi.ini
# and live in the user's configuration folder, presets there win, and the window starts and saves
# its settings there too. Root, who could write there, leaves the install alone all the same.
set -euo pipefail
build_dir=$1

as_user=()
if [ "$(id -u)" -eq 0 ]; then
    command -v setpriv >/dev/null || { echo "root needs setpriv to run Korumi as another user"; exit 77; }
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi

# Under /tmp, which every user may pass through, even when the caller's TMPDIR is private.
work=$(mktemp -d /tmp/korumi-installed.XXXXXX)
korumi_pid=
cleanup() {
    [ -z "$korumi_pid" ] || kill -KILL "$korumi_pid" 2>/dev/null || true
    chmod -R u+w "$work"
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*"
    exit 1
}

prefix=$work/prefix
program_dir=$prefix/lib/korumi
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
printf '[SET2]\nC12=1\n' >"$program_dir/Korumi.ini" # the shipped default: two passes
chmod -R a-w "$program_dir"
shipped=$(ls -A "$program_dir")

home=$work/home
config=$home/config/korumi
mkdir -p "$home" "$work/tmp"
ffmpeg -nostdin -v error -f lavfi -i testsrc=size=160x120:rate=10:duration=1 \
    -f lavfi -i sine=duration=1 -pix_fmt yuv420p "$work/clip.avi"
chmod 755 "$work"
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody:nogroup "$home" "$work/tmp"
fi

# Korumi through the link, as the user, in a bare session:
#   "${session[@]}" [VARIABLE=value...] "$korumi" [ARGUMENT...]
session=("${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/config"
    TMPDIR="$work/tmp")
korumi=$prefix/bin/korumi

# The console mode.
"${session[@]}" "$korumi" --convert "$work/clip.avi" || fail "the conversion did not succeed"
[ -s "$home/Videos/clip.mp4" ] || fail "no clip.mp4 in the videos folder"
grep -qx 'C12=1' "$config/Korumi.ini" || fail "the settings did not start from the shipped Korumi.ini"

# Root may write anywhere, yet an installed program folder is left alone by root too.
if [ "$(id -u)" -eq 0 ]; then
    root_home=$work/root-home
    mkdir -p "$root_home"
    touch "$work/before-root"
    env -i PATH=/usr/bin:/bin HOME="$root_home" TMPDIR="$work/tmp" "$korumi" --convert "$work/clip.avi" ||
        fail "root's conversion did not succeed"
    [ -s "$root_home/Videos/clip.mp4" ] || fail "root's clip.mp4 is not in root's videos folder"
    [ -z "$(find "$prefix" -newer "$work/before-root")" ] || fail "root wrote under the prefix: $(find "$prefix" -newer "$work/before-root")"
fi

# Presets of the user's own: the codec follows the preset alone (the saved values win over the rest).
printf 'mine,mp4,640x480,MPEG4,15fps,500kbps,AAC,44100Hz,96kbps\n' >"$config/profile.txt"
chmod a+r "$config/profile.txt"
planned=$("${session[@]}" "$korumi" --convert --dry-run "$work/clip.avi")
[[ $planned == *" -vcodec mpeg4 "* ]] || fail "the user's profile.txt was not used: $planned"

# The window reads its settings on its first activation, which tells when start-up is over.
command -v inotifywait >/dev/null || { echo "inotifywait is not installed"; exit 77; }
printf '[SET2]\nC12=1\n' >"$config/Korumi.ini"
coproc watch { exec inotifywait -t 60 -e close_nowrite "$config/Korumi.ini" 2>&1; }
read -r -u "${watch[0]}" line && [ "$line" = "Setting up watches." ] && read -r -u "${watch[0]}" line ||
    fail "no watch on the settings file"
"${session[@]}" QT_QPA_PLATFORM=offscreen "$korumi" &
korumi_pid=$!
read -r -u "${watch[0]}" line && [[ $line == *CLOSE_NOWRITE* ]] || fail "the window never read its settings"
rm "$config/Korumi.ini"
kill -TERM "$korumi_pid"
status=0
wait "$korumi_pid" || status=$?
korumi_pid=
[ "$status" -eq 143 ] || [ "$status" -eq 0 ] || fail "the window ended with status $status"
[ -f "$config/Korumi.ini" ] && grep -q '^M_LEFT=' "$config/Korumi.ini" || fail "the window did not save its settings"

[ "$(ls -A "$program_dir")" = "$shipped" ] || fail "something was written into the program folder"
echo "installed read-only: converts, keeps its settings in $config"
