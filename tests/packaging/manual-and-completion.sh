#!/usr/bin/env bash
# Installs the build into a temporary prefix and reads its manual page and bash completion as a
# user would: `man korumi` finds the page and renders it without a warning, the page describes
# every option of `korumi --help`, completing `korumi --` offers exactly those options, and a path
# completes.
set -euo pipefail
build_dir=$1
bash_completion=/usr/share/bash-completion/bash_completion
[ -f "$bash_completion" ] || { echo "bash-completion is not installed"; exit 77; }

source "$(dirname "$0")/../support/scratch.sh"
prefix=$work/prefix
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
export PATH=$prefix/bin:$PATH MANPATH=$prefix/share/man LC_ALL=C.UTF-8 MANWIDTH=80

[ "$(man -w korumi)" = "$prefix/share/man/man1/korumi.1.gz" ] || fail "man finds $(man -w korumi)"
warnings=$(man --warnings -E UTF-8 korumi 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page warns: $warnings"
page=$(man -E UTF-8 korumi 2>/dev/null)
options=$(korumi --help | grep -oE -- '--[a-z][a-z0-9-]*' | sort -u)
for option in $options; do
    grep -qE -- "^ {7}(-h, )?$option( |,|$)" <<<"$page" || fail "the manual page does not describe $option"
done

# What completing the last of the words offers, one a line.
completions() {
    bash -c 'source "$0"; source "$1"; shift
        COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMP_LINE="$*" COMP_POINT=${#COMP_LINE}
        _korumi korumi "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        printf "%s\n" "${COMPREPLY[@]}"' "$bash_completion" "$prefix/share/bash-completion/completions/korumi" "$@"
}
offered=$(completions korumi -- | sort)
[ "$offered" = "$(printf -- '--\n%s\n' "$options" | sort)" ] || fail "completing 'korumi --' offers: $offered"
mkdir "$work/clips"
touch "$work/clips/first clip.avi"
offered=$(completions korumi --convert "$work/clips/fi")
[ "$offered" = "$work/clips/first clip.avi" ] || fail "the path completes to: $offered"
echo "man korumi and its completion work after an install into $prefix"
