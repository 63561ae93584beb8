#!/usr/bin/env bash
# Runs the scenario of every Windows version once more as user Anna: a user of Windows 95, 98 or
# ME has a name of the code page, which Łukasz (every other run's user) is not. Anna's machine
# is a copy of the suite's prefix with the user's folder and the registry's paths renamed.
# Usage: run-ansi-user.sh e2e_tests.exe
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
copy="$WINEPREFIX-anna"
rm -rf "$copy"
cp -a "$WINEPREFIX" "$copy"
mv "$copy/drive_c/users/$USER" "$copy/drive_c/users/Anna"
# Wine writes a letter beyond Latin-1 into its registry files as \x and its number (\x141ukasz).
escaped=$(printf '%s' "$USER" | perl -CS -ne 'print join "", map { ord($_) > 255 ? sprintf("\\x%x", ord($_)) : $_ } split //')
perl -i -pe "s/\Q$escaped\E/Anna/g; s/\Q$USER\E/Anna/g" "$copy"/*.reg
export USER=Anna WINEPREFIX=$copy
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
"$WINE" "$1" --gtest_filter='Uninstall.JaRemovesEverythingNeinKeepsTheDirectoryOnEveryWindowsVersion'
