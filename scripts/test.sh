#!/usr/bin/env bash
# Installs what is missing, builds Korumi and runs every test (see scripts/build.sh for the settings).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd "${KORUMI_BUILD_DIR:-build}"
ctest --output-on-failure -j2
