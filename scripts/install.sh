#!/usr/bin/env bash
# Builds Korumi (see scripts/build.sh for the settings) and installs it under the prefix given as
# the first argument (default /usr/local): the program folder in <prefix>/lib/korumi, the command
# <prefix>/bin/korumi, and the menu entry, icon and software-centre description under
# <prefix>/share. DESTDIR, when set, stages the install below that folder.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=${1:-/usr/local}
bash scripts/build.sh
cmake --install "${KORUMI_BUILD_DIR:-build}" --prefix "$prefix"
