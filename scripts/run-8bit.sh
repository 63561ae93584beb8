#!/usr/bin/env bash
# Runs the display-depth scenario on the 8-bit virtual display, in a copy of the prefix
# (a Wine server serves one display). Usage: run-8bit.sh e2e_tests.exe
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
if [ -z "${SETUP_DISPLAY_8BIT:-}" ]; then
  echo "SETUP_DISPLAY_8BIT is not set: no 8-bit display to run on" >&2
  exit 1
fi
copy="$WINEPREFIX-8bit"
rm -rf "$copy"
cp -a "$WINEPREFIX" "$copy"
export WINEPREFIX=$copy DISPLAY=$SETUP_DISPLAY_8BIT
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
"$WINE" "$1" --gtest_filter='StartWindow.*'
