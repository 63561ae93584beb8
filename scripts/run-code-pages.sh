#!/usr/bin/env bash
# Runs the scenarios of other code pages as a Greek and as a Polish Windows: Wine takes the
# programs' ANSI and OEM code pages from the locale. Usage: run-code-pages.sh e2e_tests.exe
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
for code_locale in el_GR pl_PL; do
  if ! locale -a 2>/dev/null | grep -qix "$code_locale.utf8"; then
    echo "the locale $code_locale.UTF-8 is missing (scripts/wine-prefix.sh makes it as root)" >&2
    exit 1
  fi
  echo "== as $code_locale"
  LC_ALL=$code_locale.UTF-8 "$WINE" "$1" --gtest_filter='CodePage.*'
done
