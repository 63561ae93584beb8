#!/usr/bin/env bash
# Each folder of src/ includes only itself and the folders before it in this order, so that
# no lower layer reaches into a higher one.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../src"
order=(env codec forms ui transfer install uninstall app)
status=0
for i in "${!order[@]}"; do
  allowed=("${order[@]:0:i+1}")
  while IFS=: read -r file line text; do
    folder=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$text")
    [[ " ${allowed[*]} " == *" $folder "* ]] || { echo "$file:$line: ${order[i]} includes $folder"; status=1; }
  done < <(grep -nE '#include "[a-z]+/' "${order[i]}"/* /dev/null)
done
[ $status -eq 0 ] && echo "the layers of src/ include only downwards"
exit $status
