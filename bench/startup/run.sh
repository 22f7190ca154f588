#!/usr/bin/env bash
# Start-up time: Korumi's main window against a minimal Qt window, launch to first paint.
set -euo pipefail
build_dir=$1
runs=${RUNS:-15}
bin=$build_dir/bin
source "$(dirname "$0")/../lib/display.sh"
with_display python3 "$(dirname "$0")/../lib/compare.py" --runs "$runs" \
    --label korumi -- "$bin/bench_startup_korumi" \
    --label minimal -- "$bin/bench_startup_minimal" \
    --goal 1.3
