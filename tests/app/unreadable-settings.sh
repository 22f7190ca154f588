#!/usr/bin/env bash
# A settings file that is there but cannot be read (mode 000, as an ordinary user), or that is no
# regular file (a pipe nobody writes to): the console mode names it with its reason at once and
# converts nothing, exit status 1, and the file is left alone.
set -euo pipefail
program_dir=$1
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    command -v setpriv >/dev/null || exit 77
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
work=$(mktemp -d /tmp/korumi-unreadable.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$program_dir/korumi" "$program_dir/profile.txt" "$work/"
ln -s "$program_dir/ffmpeg.exe" "$work/ffmpeg.exe"
ffmpeg -nostdin -v error -f lavfi -i testsrc=size=160x120:rate=10:duration=1 "$work/clip.avi"
printf '[SET2]\nC11=%s/out\n' "$work" >"$work/Korumi.ini"
chmod 000 "$work/Korumi.ini"
chmod 777 "$work"
[ "$(id -u)" -ne 0 ] || chown nobody:nogroup "$work/Korumi.ini"

status=0
"${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$work" TMPDIR="$work" "$work/korumi" --convert "$work/clip.avi" \
    >"$work/stdout" 2>"$work/stderr" || status=$?
failed=0
[ "$status" -eq 1 ] || { echo "exit status $status, not 1"; failed=1; }
grep -q "設定ファイル $work/Korumi.ini を読み込めません (Permission denied)" "$work/stderr" ||
    { echo "the file was not named with its reason:"; cat "$work/stderr"; failed=1; }
[ -z "$(find "$work" -name '*.mp4')" ] || { echo "something was converted"; failed=1; }
chmod 600 "$work/Korumi.ini"
grep -q "C11=$work/out" "$work/Korumi.ini" || { echo "the settings file was written over"; failed=1; }

mv "$work/Korumi.ini" "$work/Korumi.ini.saved"
mkfifo "$work/Korumi.ini"
status=0
timeout 60 env -i PATH=/usr/bin:/bin HOME="$work" TMPDIR="$work" "$work/korumi" --convert "$work/clip.avi" \
    >"$work/stdout" 2>"$work/stderr" </dev/null || status=$?
[ "$status" -eq 1 ] || { echo "a pipe as the settings file: exit status $status, not 1"; failed=1; }
grep -q "設定ファイル $work/Korumi.ini を読み込めません (not a regular file)" "$work/stderr" ||
    { echo "the pipe was not named with its reason:"; cat "$work/stderr"; failed=1; }
[ -p "$work/Korumi.ini" ] || { echo "the pipe was replaced"; failed=1; }
[ "$failed" -eq 0 ] && echo "2 passed, 0 failed"
exit "$failed"
