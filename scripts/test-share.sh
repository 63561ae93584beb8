#!/usr/bin/env bash
# Tests are a quarter to a third of all code: non-blank lines of C/C++, shell and CMake files
# under tests/ against those of src/, tools/, scripts/ and the build files, between 0.33 and 0.5.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
lines() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.sh' -o -name CMakeLists.txt \
    -o -name '*.cmake' \) -print0 | xargs -0 cat | grep -cv '^[[:space:]]*$'
}
tests=$(lines tests) rest=$(lines src tools scripts cmake CMakeLists.txt)
share=$(awk -v t="$tests" -v r="$rest" 'BEGIN { printf "%.2f", t / r }')
echo "tests: $tests lines, the rest: $rest lines, share $share"
awk -v s="$share" 'BEGIN { exit !(s >= 0.33 && s <= 0.5) }' || { echo "outside 0.33 to 0.5"; exit 1; }
