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
"$WINE" "$SETUP_WIN_BUILD/bin/demo_driver.exe" 'C:\Demo'
# The same distribution as one downloaded file, installed and removed unattended.
rm -rf "$WINEPREFIX/drive_c/Download" && cp -r build/demo-download "$WINEPREFIX/drive_c/Download"
echo "== the one file: C:\Download\Adressen-1.0-Setup.exe /q /D=C:\EinDatei"
status=0
"$WINE" 'C:\Download\Adressen-1.0-Setup.exe' /q '/D=C:\EinDatei' '/LOG=C:\Download\install.log' || status=$?
cut -c25- "$WINEPREFIX/drive_c/Download/install.log"
[ $status -eq 0 ] || { echo "the one file ended with exit status $status"; exit 1; }
cmp "$WINEPREFIX/drive_c/EinDatei/Uninstal.exe" build/demo-dist/SETUP.EXE
"$WINE" 'C:\EinDatei\Uninstal.exe' /q || { echo "its removal ended with exit status $?"; exit 1; }
echo "== installed from the one file and removed again (C:\EinDatei: $([ -e "$WINEPREFIX/drive_c/EinDatei" ] && echo "still there, the removal's batch file takes it" || echo gone))"
