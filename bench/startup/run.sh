#!/usr/bin/env bash
# Start-up time: Korumi's main window against a minimal Qt window, launch to first paint.
set -euo pipefail
build_dir=$(realpath "$1")
runs=${RUNS:-15}
bench=$build_dir/bench
source "$(dirname "$0")/../lib/display.sh"
with_display python3 "$(dirname "$0")/../lib/compare.py" --runs "$runs" \
    --label korumi -- "$bench/bench_startup_korumi" "$build_dir/bin" \
    --label minimal -- "$bench/bench_startup_minimal" \
    --goal 1.3
