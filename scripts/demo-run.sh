#!/usr/bin/env bash
# The demo's part under Wine, here or inside the emulated machine: the distribution demo.sh
# built goes to C:\Demo and the demo driver installs, starts and removes it on a virtual
# display (with --visible: SETUP.EXE started on your own display, for you to click through).
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
source scripts/wine-env.sh
# The emulated machine's prefix was made with it; elsewhere the demo makes a fresh one.
[ -n "${SETUP_IN_VM:-}" ] || bash scripts/wine-prefix.sh
# The Start menu folders a German Windows has in each profile, where the installer puts the
# program group of the user an administrator chooses.
for profile in "$WINEPREFIX"/drive_c/users/*/; do
  [ -d "$profile/Desktop" ] && mkdir -p "$profile/Startmenü/Programme"
done
rm -rf "$WINEPREFIX/drive_c/Demo"
cp -r build/demo-dist "$WINEPREFIX/drive_c/Demo"
if [ "${1:-}" = "--visible" ]; then
  [ -n "${DISPLAY:-}" ] || { echo "--visible needs a display (DISPLAY is not set)"; exit 1; }
  "$WINE" 'C:\Demo\SETUP.EXE' || echo "SETUP.EXE ended with exit status $?"
  "$WINESERVER" -w
  exit 0
fi
source scripts/xvfb.sh
start_xvfb DISPLAY 24
trap '"$WINESERVER" -k 2>/dev/null || true; stop_xvfb' EXIT
echo "== running the example distribution under Wine $("$WINE" --version) ($SETUP_WINE_ARCH)"
# The report is CP1252 text, as the program's own texts are.
"$WINE" "$SETUP_WIN_BUILD/bin/demo_driver.exe" 'C:\Demo' | iconv -f CP1252 -t UTF-8
