#!/usr/bin/env bash
# Installs what is missing, then configures (when needed) and builds Korumi. The build folder is
# $KORUMI_BUILD_DIR (default build/); KORUMI_WERROR=ON turns compiler warnings into errors and
# KORUMI_SANITIZE=ON builds with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KORUMI_BUILD_DIR:-build}
werror=${KORUMI_WERROR:-OFF}
sanitize=${KORUMI_SANITIZE:-OFF}

bash scripts/setup-deps.sh
if [ ! -f "$build_dir/build.ninja" ] || ! grep -qx "KORUMI_WERROR:BOOL=$werror" "$build_dir/CMakeCache.txt" ||
    ! grep -qx "KORUMI_SANITIZE:BOOL=$sanitize" "$build_dir/CMakeCache.txt"; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORUMI_WERROR="$werror" \
        -DKORUMI_SANITIZE="$sanitize"
fi
cmake --build "$build_dir" -j2
