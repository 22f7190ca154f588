#!/usr/bin/env bash
# Planning at scale: `korumi --convert --dry-run` on a tree of 100,000 files (100 in each folder;
# every command printed, nothing run) against `find DIR -type f | sort -f` listing the same tree
# (kept in /dev/shm where it can be). Goal: within 3 x find | sort -f. The peak memory is printed
# for information.
set -euo pipefail
build_dir=$(realpath "$1")
here=$(dirname "$0")
files=100000
# In memory where there is room: the files are made in seconds there, not minutes.
work=$(mktemp -d -p "$([ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")")
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/program"
cp "$build_dir/bin/korumi" "$build_dir/bin/profile.txt" "$work/program/"
printf '[SET2]\nC11=%s\n' "$work/out" >"$work/program/Korumi.ini"

python3 - "$work/tree" "$files" <<'GROW'
import os, sys
tree, files = sys.argv[1], int(sys.argv[2])
for folder in range(files // 100):
    path = os.path.join(tree, f"d{folder:05d}")
    os.makedirs(path)
    for clip in range(100):
        os.close(os.open(os.path.join(path, f"clip{clip:03d}.avi"), os.O_CREAT | os.O_WRONLY, 0o644))
GROW

python3 "$here/../lib/compare.py" --runs "${RUNS:-3}" \
    --label korumi -- "$work/program/korumi" --convert --dry-run "$work/tree" \
    --label find -- sh -c "find '$work/tree' -type f | sort -f" \
    --goal 3 --name "dry run of $files files within 3 x find | sort -f"
peak_kb=$(/usr/bin/env time -f %M "$work/program/korumi" --convert --dry-run "$work/tree" 2>&1 >/dev/null | tail -n 1)
echo "      memory: peak $((peak_kb / 1024)) MB"
