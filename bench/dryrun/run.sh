#!/usr/bin/env bash
# Planning speed (goal: a few seconds): `korumi --convert --dry-run` on a tree of 100,000 files in 1,000 folders (every
# command printed, nothing run), against `find DIR -type f | sort -f` listing the same tree.
set -euo pipefail
build_dir=$(realpath "$1")
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/program"
cp "$build_dir/bin/korumi" "$build_dir/bin/profile.txt" "$work/program/"
printf '[SET2]\nC11=%s\n' "$work/out" >"$work/program/Korumi.ini"
for folder in $(seq -w 0 999); do
    mkdir -p "$work/tree/d$folder"
    (cd "$work/tree/d$folder" && touch $(printf "clip%03d.avi " $(seq 0 99)))
done
echo "tree: $(find "$work/tree" -type f | wc -l) files"

python3 "$here/../lib/compare.py" --runs "${RUNS:-5}" \
    --label korumi -- "$work/program/korumi" --convert --dry-run "$work/tree" \
    --label find -- sh -c "find '$work/tree' -type f | sort -f" \
    --max-ms 3000
