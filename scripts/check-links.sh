#!/usr/bin/env bash
# Every relative link in README.md and docs/ leads to a file that is there, every #anchor to
# a heading of that page (as GitHub names it), and every picture they show exists.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
broken=0 links=0
# The anchors of a page's headings: lower case, punctuation dropped, blanks as hyphens
# (fenced code left out: a "# comment" there is no heading).
anchors() {
  awk '/^```/ { code = !code; next } !code && /^#+ / { sub(/^#+ /, ""); print }' "$1" |
    tr 'A-Z' 'a-z' | sed -E 's/[^[:alnum:] _-]//g; s/ /-/g'
}
for page in README.md docs/*.md; do
  dir=$(dirname "$page")
  while IFS= read -r target; do
    links=$((links + 1))
    file=${target%%#*} anchor=""
    [[ "$target" == *"#"* ]] && anchor=${target#*#}
    path=$page
    [ -z "$file" ] || path=$dir/$file
    if [ ! -e "$path" ]; then
      echo "$page: $target: no such file"
      broken=$((broken + 1))
    elif [ -n "$anchor" ] && ! anchors "$path" | grep -qx -- "$anchor"; then
      echo "$page: $target: no such heading"
      broken=$((broken + 1))
    fi
  done < <(awk '/^```/ { code = !code; next } !code' "$page" | grep -o '\]([^)]*)' | sed 's/^](//; s/)$//' |
             grep -v -E '^(https?|mailto):')
done
echo "$links links and pictures, $broken broken"
[ "$broken" -eq 0 ]
