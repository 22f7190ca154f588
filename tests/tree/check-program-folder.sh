#!/usr/bin/env bash
# Fails when the build's program folder holds anything Korumi does not ship (or write itself).
set -euo pipefail
program_dir=$1
status=0
for entry in "$program_dir"/* "$program_dir"/.[!.]*; do
    [ -e "$entry" ] || continue
    case $(basename "$entry") in
        korumi | ffmpeg.exe | addfile.exe | profile.txt | Readme.txt | Korumi.ini) ;;
        *) echo "$entry does not belong in the program folder"; status=1 ;;
    esac
done
[ "$status" -eq 0 ] && echo "the program folder holds only what Korumi ships"
exit "$status"
