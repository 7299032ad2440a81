#!/usr/bin/env bash
# The folders of src/ are floors: each includes only its own folder and the folders below it, so
# no two folders depend on each other. Names every include that goes up or sideways, with its file
# and line, and fails when there is one. Usage: scripts/check-floors.sh [src-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
src="${1:-src}"

# Bottom to top; main.cpp, in src/ itself, is the roof.
floors=(text form files router resolve capture sblog stdlog syslog ui app ui/qt)

rank_of() {
    local i
    for i in "${!floors[@]}"; do
        if [[ "${floors[$i]}" == "$1" ]]; then
            echo "$i"
            return
        fi
    done
    echo -1
}

status=0
while IFS= read -r -d '' file; do
    folder="$(dirname "${file#"$src"/}")"
    if [[ "$folder" == "." ]]; then
        own=${#floors[@]}
    else
        own="$(rank_of "$folder")"
        if [[ "$own" == -1 ]]; then
            echo "$file: the folder $folder is no floor (add it to scripts/check-floors.sh)"
            status=1
            continue
        fi
    fi
    while IFS=: read -r line header; do
        target="$(dirname "$header")"
        [[ "$target" == "$folder" ]] && continue
        rank="$(rank_of "$target")"
        if [[ "$rank" == -1 ]]; then
            echo "$file:$line: includes \"$header\", which is in no floor"
            status=1
        elif ((rank >= own)); then
            echo "$file:$line: includes \"$header\": $target is not below $folder"
            status=1
        fi
    done < <(awk -F'"' '/^[[:space:]]*#[[:space:]]*include[[:space:]]*"/ { print FNR ":" $2 }' "$file")
done < <(find "$src" \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)

if ((status == 0)); then echo "Floors: every include of $src looks down."; fi
exit "$status"
