#!/usr/bin/env bash
# Fails when a C++ file differs from the style of .clang-format; prints the differences.
# `clang-format -i FILE` puts a file into the style.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
clang-format --dry-run -Werror "${files[@]}"
echo "check_style: ${#files[@]} files in the style of .clang-format"
