#!/usr/bin/env bash
# Codec benchmark: instructions per byte (callgrind counts instructions, which stay the same
# on a busy machine) and stream sizes, on Wine's comctl32.dll and on a text corpus.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
bash scripts/install-deps.sh
cmake --preset native >/dev/null && cmake --build --preset native --target codec_bench >/dev/null
bench=build/native/bin/codec_bench
work=build/bench
mkdir -p "$work"
cat /usr/share/common-licenses/* examples/*.txt examples/*.Txt > "$work/corpus.txt"
instructions() {  # total instructions of one run
  valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" "$@" >/dev/null 2>&1
  callgrind_annotate "$work/callgrind.out" 2>/dev/null | awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1}'
}
for input in /usr/lib/i386-linux-gnu/wine/i386-windows/comctl32.dll "$work/corpus.txt"; do
  size=$(stat -c %s "$input")
  packed="$work/$(basename "$input").lz"
  compress=$(instructions "$bench" compress "$input" "$packed")
  expand=$(instructions "$bench" expand "$packed" "$work/expanded")
  cmp -s "$input" "$work/expanded" || { echo "round trip failed for $input"; exit 1; }
  stream=$(( $(stat -c %s "$packed") - 8 ))
  printf '%s: %d bytes -> stream %d bytes (%.1f%%); compress %.0f instructions/byte, expand %.1f instructions/byte\n' \
    "$(basename "$input")" "$size" "$stream" "$(echo "100*$stream/$size" | bc -l)" \
    "$(echo "$compress/$size" | bc -l)" "$(echo "$expand/$size" | bc -l)"
done
