#!/usr/bin/env bash
# Runs the scenario of every Windows version once more as user Anna, in a prefix of her own: a
# user of Windows 95, 98 or ME has a name of the code page, which Łukasz (every other run's
# user) is not. Usage: run-ansi-user.sh e2e_tests.exe
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
export USER=Anna WINEPREFIX=$WINEPREFIX-anna
# A prefix of its own: a Wine server serves one prefix, the suite's goes on beside it.
bash "$SETUP_ROOT/scripts/wine-prefix.sh" >/dev/null
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
"$WINE" "$1" --gtest_filter='Uninstall.JaRemovesEverythingNeinKeepsTheDirectoryOnEveryWindowsVersion'
