#!/usr/bin/env bash
# Runs a fuzz target for a few seconds on a corpus of seed files, or (--jpeg) of pictures made by
# ffmpeg. Usage: run-fuzz.sh FUZZER ARTIFACT_DIR (--jpeg | SEED...)
set -euo pipefail
fuzzer=$1
artifacts=$2
shift 2
seconds=${KORUMI_FUZZ_SECONDS:-5}

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
if [ "${1:-}" = --jpeg ]; then
    n=0
    for source in "testsrc=size=80x60" "color=c=red:size=16x16" "testsrc=size=33x17"; do
        for format in yuvj420p yuvj444p gray; do
            ffmpeg -v error -nostdin -f lavfi -i "$source" -frames:v 1 -pix_fmt "$format" -update 1 "$corpus/seed$n.jpg"
            n=$((n + 1))
        done
    done
else
    cp "$@" "$corpus/"
fi

# A finding is kept beside the fuzzer (crash-*, leak-*, ...) and fails the test.
"$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -artifact_prefix="$artifacts/" "$corpus"
