#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of the tree is not formatted as
# .clang-format says. `clang-format -i FILE` formats one.
set -euo pipefail
cd "$(dirname "$0")/.."

unformatted=()
while IFS= read -r file; do
    clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(git ls-files '*.cpp' '*.h')
if ((${#unformatted[@]})); then
    echo "Not formatted as .clang-format says (clang-format -i fixes them):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
fi
echo "clang-format: every C++ file is formatted"
