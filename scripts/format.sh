#!/usr/bin/env bash
# Formats every C and C++ source of the tree with .clang-format; with --check it changes
# nothing and names the files that differ (the test command runs it so).
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
mapfile -t files < <(find src tools tests bench examples -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) | sort)
if [ "${1:-}" != --check ]; then
  clang-format -i "${files[@]}"
  exit
fi
differ=0
for file in "${files[@]}"; do
  clang-format "$file" | cmp -s - "$file" || { echo "not formatted: $file"; differ=$((differ + 1)); }
done
echo "${#files[@]} files, $differ not formatted (bash scripts/format.sh formats them)"
[ "$differ" -eq 0 ]
