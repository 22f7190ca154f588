#!/usr/bin/env bash
# Intake speed: a dropped tree of 100,000 files in 1,000 folders taken into the input list,
# against `find DIR -type f | sort -f` on the same tree.
set -euo pipefail
build_dir=$(realpath "$1")
"$build_dir/bench/bench_intake" "${RUNS:-5}"
# The window while a tree of 1,000,000 files is taken in: its longest pause; then how long Delete
# on the middle half of them holds it.
"$build_dir/bench/bench_window_intake"
