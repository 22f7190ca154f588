#!/usr/bin/env bash
# Installs what is missing, builds Korumi and runs every test (ctest); then builds the same in a
# second folder, $KORUMI_BUILD_DIR-asan, with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs the tests there too (see scripts/build.sh for the settings).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KORUMI_BUILD_DIR:-build}
build_dir=${build_dir%/}

bash scripts/build.sh
(cd "$build_dir" && ctest --output-on-failure -j2)

KORUMI_BUILD_DIR=$build_dir-asan KORUMI_SANITIZE=ON bash scripts/build.sh
cd "$build_dir-asan"
# Any report fails its test: a leak or memory error ends the program with an error status, and
# undefined behaviour stops it (the build makes that so too, for programs run without these).
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --output-on-failure -j2
