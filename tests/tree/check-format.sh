#!/usr/bin/env bash
# Fails when a C++ source file differs from what clang-format makes of it (.clang-format).
set -euo pipefail
cd "$(dirname "$0")/../.."
command -v clang-format >/dev/null || { echo "clang-format is not installed"; exit 1; }
find app bench controls conversion input platform settings tests tools -name '*.cpp' -o -name '*.h' |
    sort | xargs clang-format --dry-run --Werror
echo "every source file is formatted"
