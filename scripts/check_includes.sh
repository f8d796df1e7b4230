#!/usr/bin/env bash
# Fails when a source file includes a header from a folder it may not depend on,
# by the table in scripts/include_layers.txt. Prints every offending line.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed
while IFS= read -r line; do
    line=${line%%#*}
    [[ $line == *:* ]] || continue
    folder=${line%%:*}
    allowed[$folder]="$folder ${line#*:}"
done < scripts/include_layers.txt

# The folder of the table that holds `file`: the longest matching prefix.
layer_of() {
    local file=$1 best="" folder
    for folder in "${!allowed[@]}"; do
        if [[ $file == "$folder"/* && ${#folder} -gt ${#best} ]]; then
            best=$folder
        fi
    done
    printf '%s' "$best"
}

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||')
fi

failures=0
for file in "${files[@]}"; do
    layer=$(layer_of "$file")
    if [[ -z $layer ]]; then
        echo "$file: its folder is not in scripts/include_layers.txt"
        failures=$((failures + 1))
        continue
    fi
    read -r -a rules <<< "${allowed[$layer]}"
    while IFS=: read -r number text; do
        if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
            target=${BASH_REMATCH[1]}
            [[ $target == */* ]] || continue  # a header beside the file (moc output, test helpers)
            ok=0
            for rule in "${rules[@]}"; do
                [[ $rule == no-qt ]] && continue
                if [[ $target == "$rule" || $target == "$rule"/* ]]; then
                    ok=1
                    break
                fi
            done
            if [[ $ok -eq 0 ]]; then
                echo "$file:$number: $layer/ may not include \"$target\""
                failures=$((failures + 1))
            fi
        elif [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<Q && " ${rules[*]} " == *" no-qt "* ]]; then
            echo "$file:$number: $layer/ builds without Qt:$text"
            failures=$((failures + 1))
        fi
    done < <(grep -n '#[[:space:]]*include' "$file" || true)
done

if [[ $failures -gt 0 ]]; then
    echo "check_includes: $failures include(s) break the allowed directions"
    exit 1
fi
echo "check_includes: ${#files[@]} files, every include points the allowed way"
