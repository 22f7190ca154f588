#!/usr/bin/env bash
# Builds Korumi (see scripts/build.sh for the settings) and its Debian package,
# korumi_<version>_<architecture>.deb in the build folder, installing under /usr.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd "${KORUMI_BUILD_DIR:-build}"
cpack -G DEB
