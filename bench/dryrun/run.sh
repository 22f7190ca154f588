#!/usr/bin/env bash
# Planning at scale: `korumi --convert --dry-run` on trees of 100,000 and 1,000,000 files (100 in
# each folder; every command printed, nothing run) against `find DIR -type f | sort -f` listing
# the same tree (kept in /dev/shm where it can be). Goals at each size: within 3 x find | sort -f,
# and at most 200 bytes of memory per file above Korumi's own baseline (a dry run of one file).
set -euo pipefail
build_dir=$(realpath "$1")
here=$(dirname "$0")
# In memory where there is room: a million files are made in seconds there, not minutes.
work=$(mktemp -d -p "$([ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")")
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/program" "$work/one"
cp "$build_dir/bin/korumi" "$build_dir/bin/profile.txt" "$work/program/"
printf '[SET2]\nC11=%s\n' "$work/out" >"$work/program/Korumi.ini"
touch "$work/one/clip.avi"

peak_kb() { # the peak resident memory of a dry run of $1
    /usr/bin/env time -f %M "$work/program/korumi" --convert --dry-run "$1" 2>&1 >/dev/null | tail -n 1
}
baseline_kb=$(peak_kb "$work/one")

# Grows the tree to $1 files, 100 in each folder.
grow_tree() {
    python3 - "$work/tree" "$1" <<'GROW'
import os, sys
tree, files = sys.argv[1], int(sys.argv[2])
for folder in range(files // 100):
    path = os.path.join(tree, f"d{folder:05d}")
    if not os.path.isdir(path):
        os.makedirs(path)
        for clip in range(100):
            os.close(os.open(os.path.join(path, f"clip{clip:03d}.avi"), os.O_CREAT | os.O_WRONLY, 0o644))
GROW
}

for files in 100000 1000000; do
    grow_tree "$files"
    echo "-- $files files"
    python3 "$here/../lib/compare.py" --runs "${RUNS:-3}" \
        --label korumi -- "$work/program/korumi" --convert --dry-run "$work/tree" \
        --label find -- sh -c "find '$work/tree' -type f | sort -f" \
        --goal 3 --name "dry run of $files files within 3 x find | sort -f"
    peak=$(peak_kb "$work/tree")
    per_file=$(((peak - baseline_kb) * 1024 / files))
    verdict=$([ "$per_file" -le 200 ] && echo met || echo "NOT met")
    echo "      memory: peak $((peak / 1024)) MB, baseline $((baseline_kb / 1024)) MB"
    echo "goal $verdict: dry run of $files files at most 200 bytes per file above the baseline ($per_file bytes)"
done
