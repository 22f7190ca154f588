#!/usr/bin/env bash
# Runs the README's recipe for spreading a batch over several machines, as written, with this
# machine as the only ssh login (GNU parallel's ":"): a batch stopped after its first file goes
# on with the rest, leaves the file converted before alone, and ends with status 0. Where this
# user may, each Korumi runs in a process-id namespace of its own, as on a machine of its own;
# then two such runs convert into the shared folder at once, short files starting and ending
# beside a long one.
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
mkdir -p "$work/bin" "$work/home/.parallel" "$work/videos/sub" "$work/out" "$work/first" "$work/second"
cp "$program_dir/profile.txt" "$work/bin/"
namespaces=false
if unshare --pid --fork --mount-proc true 2>/dev/null; then
    namespaces=true
    cp "$program_dir/korumi" "$work/bin/korumi-here"
    printf '#!/bin/sh\nexec unshare --pid --fork --mount-proc %q "$@"\n' "$work/bin/korumi-here" >"$work/bin/korumi"
    chmod +x "$work/bin/korumi"
else
    cp "$program_dir/korumi" "$work/bin/"
fi
ln -s "$program_dir/ffmpeg.exe" "$work/bin/ffmpeg.exe"
printf '[SET2]\nC11=%s\n' "$work/out" >"$work/bin/Korumi.ini"
touch "$work/home/.parallel/will-cite"
clip() { # FILE SECONDS
    ffmpeg -nostdin -v error -f lavfi -i "testsrc=size=320x240:rate=25:duration=$2" \
        -f lavfi -i "sine=duration=$2" -pix_fmt yuv420p "$1"
}
for name in videos/a.avi videos/b.mkv videos/sub/c.avi first/1.avi first/2.avi first/3.avi second/4.avi \
    second/5.avi; do
    clip "$work/$name" 1
done
clip "$work/first/long.mkv" 20

# Each converted file decodes without an error.
whole() {
    for converted in "$@"; do
        [ "$(ffprobe -v error -show_entries stream=codec_type -of csv=p=0 "$work/out/$converted.mp4")" = \
            "$(printf 'video\naudio')" ] || fail "$converted.mp4 is not a whole video: $(cat "$work"/*.log)"
        errors=$(ffmpeg -nostdin -v error -i "$work/out/$converted.mp4" -f null - 2>&1)
        [ -z "$errors" ] || fail "$converted.mp4 does not decode cleanly: $errors"
    done
}

echo "converted before the batch stopped" >"$work/out/a.mp4"
PATH=$work/bin:$PATH HOME=$work/home bash -c "set -euo pipefail; $recipe" </dev/null >"$work/recipe.log" 2>&1 ||
    fail "the recipe failed: $(cat "$work/recipe.log")"
[ "$(cat "$work/out/a.mp4")" = "converted before the batch stopped" ] || fail "a.mp4 was converted again"
whole b c
grep -q 'skipped, already converted: 1' "$work/recipe.log" || fail "no file was skipped: $(cat "$work/recipe.log")"
echo "the recipe for several machines converts the rest of a stopped batch"
$namespaces || exit 0

# The first run's encoder of its last, long file has a process id that the second run's fresh
# namespace has not come to: nothing of that tells whether the first run lives.
# Its temporary output of long.mp4 is written once the encoder runs; the watch starts first.
inotifywait -q -t 300 -e modify --include '\.long\.mp4\.korumi-tmp' "$work/out" >/dev/null &
watch=$!
"$work/bin/korumi" --convert --jobs 1 "$work/first" </dev/null >"$work/first.log" 2>&1 &
first=$!
wait $watch || true
"$work/bin/korumi" --convert --jobs 1 "$work/second" </dev/null >"$work/second.log" 2>&1 ||
    fail "the second run failed: $(cat "$work/second.log")"
wait $first || fail "the first run failed: $(cat "$work/first.log")"
whole 1 2 3 4 5 long
[ "$(LC_ALL=C ls -A "$work/out" | tr '\n' ' ')" = "1.mp4 2.mp4 3.mp4 4.mp4 5.mp4 a.mp4 b.mp4 c.mp4 long.mp4 " ] ||
    fail "each file is converted once, and nothing else stays: $(ls -A "$work/out")"
echo "two runs on machines of their own convert into one folder at once"
