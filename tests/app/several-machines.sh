#!/usr/bin/env bash
# Runs the README's recipe for spreading a batch over several machines, as written, with this
# machine as the only ssh login (GNU parallel's ":"): a batch stopped after its first file goes
# on with the rest, leaves the file converted before alone, and ends with status 0. Where this
# user may, each Korumi runs in a process-id namespace of its own, as on a machine of its own,
# and a long file is converted while short ones start and end beside it in the same folder.
set -euo pipefail
program_dir=$1
readme=$2
command -v parallel >/dev/null || { echo "GNU parallel is not installed"; exit 77; }

source "$(dirname "$0")/../support/scratch.sh"

# The recipe: the first sh block after the heading, with this machine's folder and login.
recipe=$(sed -n '/^### Several machines$/,$p' "$readme" | awk '/^```sh$/ { on = 1; next } on && /^```$/ { exit } on')
grep -q '^videos=' <<<"$recipe" && grep -q '^logins=' <<<"$recipe" || fail "no recipe in $readme: $recipe"
recipe=$(sed -e "s|^videos=[^ ]*|videos=$work/videos|" -e 's|^logins=[^ ]*|logins=2/:|' <<<"$recipe")

# Korumi on the search path, converting into the shared output folder.
mkdir -p "$work/bin" "$work/home/.parallel" "$work/videos/sub" "$work/out"
cp "$program_dir/profile.txt" "$work/bin/"
if unshare --pid --fork --mount-proc true 2>/dev/null; then
    cp "$program_dir/korumi" "$work/bin/korumi-here"
    printf '#!/bin/sh\nexec unshare --pid --fork --mount-proc %q "$@"\n' "$work/bin/korumi-here" >"$work/bin/korumi"
    chmod +x "$work/bin/korumi"
else
    cp "$program_dir/korumi" "$work/bin/"
fi
ln -s "$program_dir/ffmpeg.exe" "$work/bin/ffmpeg.exe"
printf '[SET2]\nC11=%s\n' "$work/out" >"$work/bin/Korumi.ini"
touch "$work/home/.parallel/will-cite"
for clip in a.avi b.mkv sub/c.avi sub/d.avi long.mkv; do
    [ "$clip" = long.mkv ] && seconds=8 || seconds=1
    ffmpeg -nostdin -v error -f lavfi -i testsrc=size=320x240:rate=25:duration=$seconds \
        -f lavfi -i sine=duration=$seconds -pix_fmt yuv420p "$work/videos/$clip"
done
echo "converted before the batch stopped" >"$work/out/a.mp4"

PATH=$work/bin:$PATH HOME=$work/home bash -c "set -euo pipefail; $recipe" </dev/null >"$work/log" 2>&1 ||
    fail "the recipe failed: $(cat "$work/log")"
[ "$(cat "$work/out/a.mp4")" = "converted before the batch stopped" ] || fail "a.mp4 was converted again"
for converted in b c d long; do
    [ "$(ffprobe -v error -show_entries stream=codec_type -of csv=p=0 "$work/out/$converted.mp4")" = \
        "$(printf 'video\naudio')" ] || fail "$converted.mp4 is not a whole video: $(cat "$work/log")"
    errors=$(ffmpeg -nostdin -v error -i "$work/out/$converted.mp4" -f null - 2>&1)
    [ -z "$errors" ] || fail "$converted.mp4 does not decode cleanly: $errors"
done
[ "$(ls -A "$work/out" | sort | tr '\n' ' ')" = "a.mp4 b.mp4 c.mp4 d.mp4 long.mp4 " ] ||
    fail "each file is converted once, and nothing else stays: $(ls -A "$work/out")"
grep -q 'skipped, already converted: 1' "$work/log" || fail "no file was skipped: $(cat "$work/log")"
echo "the recipe for several machines converts the rest of a stopped batch"
