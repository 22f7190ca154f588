#!/usr/bin/env bash
# Runs every benchmark script in bench/ against the build in $1, then lists each goal with its
# verdict ("goal met: ..." or "goal NOT met: ...") once more at the end.
set -euo pipefail
build_dir=$(realpath "${1:-build}")
cd "$(dirname "$0")"
report=$(mktemp)
trap 'rm -f "$report"' EXIT
for script in */run.sh; do
    [ -f "$script" ] || continue
    echo "== ${script%/run.sh}"
    bash "$script" "$build_dir" | tee -a "$report"
done
echo "== goals"
grep '^goal ' "$report" || echo "no goal was judged"
