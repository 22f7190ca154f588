#!/usr/bin/env bash
# Runs the README's recipe for spreading a batch over several machines, as written, with this
# machine as the only ssh login (GNU parallel's ":"): a batch stopped after its first file goes
# on with the rest, leaves the file converted before alone, and ends with status 0.
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
cp "$program_dir/korumi" "$program_dir/profile.txt" "$work/bin/"
ln -s "$program_dir/ffmpeg.exe" "$work/bin/ffmpeg.exe"
printf '[SET2]\nC11=%s\n' "$work/out" >"$work/bin/Korumi.ini"
touch "$work/home/.parallel/will-cite"
for clip in a.avi b.mkv sub/c.avi; do
    ffmpeg -nostdin -v error -f lavfi -i testsrc=size=160x120:rate=10:duration=1 \
        -f lavfi -i sine=duration=1 -pix_fmt yuv420p "$work/videos/$clip"
done
echo "converted before the batch stopped" >"$work/out/a.mp4"

PATH=$work/bin:$PATH HOME=$work/home bash -c "set -euo pipefail; $recipe" </dev/null >"$work/log" 2>&1 ||
    fail "the recipe failed: $(cat "$work/log")"
[ "$(cat "$work/out/a.mp4")" = "converted before the batch stopped" ] || fail "a.mp4 was converted again"
for converted in b c; do
    [ "$(ffprobe -v error -show_entries stream=codec_type -of csv=p=0 "$work/out/$converted.mp4")" = \
        "$(printf 'video\naudio')" ] || fail "$converted.mp4 is not a whole video: $(cat "$work/log")"
done
grep -q 'skipped, already converted: 1' "$work/log" || fail "no file was skipped: $(cat "$work/log")"
echo "the recipe for several machines converts the rest of a stopped batch"
