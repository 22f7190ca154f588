#!/usr/bin/env bash
# Runs every benchmark script in bench/ against the build in $1.
set -euo pipefail
build_dir=$(realpath "${1:-build}")
cd "$(dirname "$0")"
for script in */run.sh; do
    [ -f "$script" ] || continue
    echo "== ${script%/run.sh}"
    bash "$script" "$build_dir"
done
