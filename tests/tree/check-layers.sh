#!/usr/bin/env bash
# Fails when a source file includes a header from a layer above its own. Layers, lowest first:
# platform, controls, input and settings, conversion, app. Input and settings stand side by side
# and include neither each other. The tools stand apart and include only each other and the plain
# part of platform (the files of korumi_platform_plain: C++ without Qt, shared by Korumi and the
# tools), which itself includes nothing of the project's but its own files.
#
# Settings, input and conversion need no display: like the Qt Core half of platform (the files
# that platform/CMakeLists.txt gives korumi_platform_core), they include only that half and the
# plain part of platform, the lower of themselves, and only the headers of Qt Core and Qt D-Bus
# (which needs no display either): the engine runs without a window. Usage: check-layers.sh [Qt Core's header folder]
set -euo pipefail
cd "$(dirname "$0")/../.."

qt_core=${1:-$(pkg-config --variable=includedir Qt6Core 2>/dev/null)/QtCore}
[ -d "$qt_core" ] || { echo "no Qt Core header folder at '$qt_core'"; exit 1; }

# The base names of the files of the library $1, read from its add_library and target_sources
# lists in platform/CMakeLists.txt, between blanks.
library_names() {
    local names
    names=" $(awk -v library="$1" '
        /^(add_library|target_sources)\(/ { inside = $0 ~ "\\(" library "[ )]" || $0 ~ "\\(" library "$" }
        inside { for (i = 1; i <= NF; ++i) if ($i ~ /\.(cpp|h)\)?$/) { sub(/\..*/, "", $i); print $i } }
        /\)/ { inside = 0 }
    ' platform/CMakeLists.txt | tr '\n' ' ') "
    [ "$names" != "  " ] || { echo "platform/CMakeLists.txt lists no $1 files" >&2; exit 1; }
    echo "$names"
}
core_names=$(library_names korumi_platform_core)
plain_names=$(library_names korumi_platform_plain)

# Whether the project's header `$1` is one of the plain part of platform.
plain_header() {
    local name=${1##*/}
    [ "${1%%/*}" = platform ] && [[ $plain_names == *" ${name%.*} "* ]]
}

# Whether `file` may use Qt Core and the core half of platform only.
core_only() {
    local name=${1##*/}
    case ${1%%/*} in
        settings | input | conversion) return 0 ;;
        platform) [[ $core_names == *" ${name%.*} "* ]] ;;
        *) return 1 ;;
    esac
}

# Whether the header `$2`, included with the quote `$1` (" or <) by a file of the folder `$3`,
# is its own folder's, the core or the plain part of platform, a lower folder's that needs no
# display either, or Qt Core's or Qt D-Bus's.
core_header() {
    if [ "$1" = '"' ]; then
        case $2 in
            platform/*) core_only "$2" || plain_header "$2" ;;
            "$3"/*) return 0 ;;
            *) core_only "$2" && [ "$(rank "${2%%/*}")" -lt "$(rank "$3")" ] ;;
        esac
    else
        case $2 in
            Qt*/*) [[ $2 == QtCore/* || $2 == QtDBus/* ]] ;;
            Q*) [ -e "$qt_core/$2" ] || [ -e "$qt_core/../QtDBus/$2" ] ;;
            *) return 0 ;;
        esac
    fi
}

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
    while IFS=: read -r file line quote included; do
        target=${included%%/*}
        if core_only "$file"; then
            core_header "$quote" "$included" "$folder" && continue
            echo "$file:$line: includes $included, which is outside Qt Core and the core of platform"
            status=1
            continue
        fi
        [ "$quote" = '"' ] || continue
        if plain_header "$file"; then
            plain_header "$included" && continue
        elif [ "$folder" = tools ] || [ "$target" = tools ]; then
            [ "$folder" = "$target" ] && continue
            [ "$folder" = tools ] && plain_header "$included" && continue
        elif [ "$target" = "$folder" ] || [ "$(rank "$target")" -lt "$(rank "$folder")" ]; then
            continue
        fi
        echo "$file:$line: includes $included, which is not in its own layer or below ($folder)"
        status=1
    done < <(grep -rnoE '^#include ("[a-z]+/[^"]+"|<[^>]+>)' --include='*.h' --include='*.cpp' --include='*.in' "$folder" |
        sed -E 's/^([^:]+):([0-9]+):#include (["<])([^">]+)[">]/\1:\2:\3:\4/')
done
[ "$status" -eq 0 ] && echo "every include comes from its own layer or below"
exit "$status"
