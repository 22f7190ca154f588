#!/usr/bin/env bash
# Fails when a source file includes a header from a layer above its own. Layers, lowest first:
# platform, controls, input and settings, conversion, app. The tools stand apart and include
# only each other.
set -euo pipefail
cd "$(dirname "$0")/../.."

rank() {
    case $1 in
        platform) echo 0 ;;
        controls) echo 1 ;;
        input | settings) echo 2 ;;
        conversion) echo 3 ;;
        app) echo 4 ;;
        *) echo -1 ;;
    esac
}

status=0
for folder in platform controls input settings conversion app tools; do
    while IFS=: read -r file line included; do
        target=${included%%/*}
        if [ "$folder" = tools ] || [ "$target" = tools ]; then
            [ "$folder" = "$target" ] && continue
        elif [ "$(rank "$target")" -le "$(rank "$folder")" ]; then
            continue
        fi
        echo "$file:$line: includes $included, which is not in its own layer or below ($folder)"
        status=1
    done < <(grep -rnoE '^#include "[a-z]+/[^"]+"' --include='*.h' --include='*.cpp' --include='*.in' "$folder" |
        sed -E 's/^([^:]+):([0-9]+):#include "([^"]+)"/\1:\2:\3/')
done
[ "$status" -eq 0 ] && echo "every include comes from its own layer or below"
exit "$status"
