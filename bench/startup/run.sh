#!/usr/bin/env bash
# Start-up: Korumi as users start it against a bare Qt window of its size, each timed from exec
# to its first painted frame (a probe preloaded into both ends each program there).
# Goal: at most 1.15 x the bare window.
set -euo pipefail
build_dir=$(realpath "$1")
lib=$(cd "$(dirname "$0")/../lib" && pwd)
source "$lib/display.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build_dir/bin/korumi" "$build_dir/bin/profile.txt" "$work/"
printf '[SET2]\nC11=%s\n' "$work/out" >"$work/Korumi.ini"
probe=$build_dir/bench/bench_first_paint_probe.so
# Each program's label and command line, for compare.py.
korumi=(--label korumi -- env LD_PRELOAD="$probe" "$work/korumi")
bare=(--label bare -- env LD_PRELOAD="$probe" "$build_dir/bench/bench_startup_minimal")
bare_text=(--label "bare+text" -- env LD_PRELOAD="$probe" "$build_dir/bench/bench_startup_minimal" --text)
compare() { with_display python3 "$lib/compare.py" --runs "${RUNS:-15}" "$@"; }

compare "${korumi[@]}" "${bare[@]}" --goal 1.15 --name "start-up within 1.15 x a bare Qt window"
# Not goals: the same window showing one line of Japanese, which loads the fonts as Korumi must;
# and what that one line costs the bare window, which never reads the font configuration.
compare "${korumi[@]}" "${bare_text[@]}"
compare "${bare_text[@]}" "${bare[@]}"
