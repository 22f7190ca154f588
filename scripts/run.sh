#!/usr/bin/env bash
# Starts Korumi from the build's program folder.
set -euo pipefail
build_dir=${1:-build}
exec "$build_dir/bin/korumi"
