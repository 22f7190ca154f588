#!/usr/bin/env bash
# Builds the Debian package as `make package` does and holds it to Debian's rules: lintian finds
# no error and no warning (a missing copyright, changelog or manual page among them), and the
# bash completion lies where bash-completion looks for it.
set -euo pipefail
build_dir=$1
command -v lintian >/dev/null || { echo "lintian is not installed"; exit 77; }

source "$(dirname "$0")/../support/scratch.sh"

(cd "$build_dir" && cpack -G DEB -B "$work") >"$work/cpack.log" 2>&1 ||
    fail "cpack could not build the package: $(cat "$work/cpack.log")"
deb=$(echo "$work"/korumi_*.deb)
report=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian: $report"
[[ $(dpkg-deb -c "$deb") == *" ./usr/share/bash-completion/completions/korumi"$'\n'* ]] ||
    fail "the package has no bash completion"
echo "lintian-clean: $deb"
