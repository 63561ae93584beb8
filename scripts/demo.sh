#!/usr/bin/env bash
# The main job: builds SETUP.EXE, lays out the example distribution and runs it under Wine
# on a virtual display, driven, with a picture of each step. With --visible it runs on your
# own display instead, for you to click through.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
visible=0
[ "${1:-}" = "--visible" ] && visible=1
bash scripts/install-deps.sh
mkdir -p build
echo "== building SETUP.EXE (32-bit, shipped)"
cmake --preset win32 >build/configure-win32.log && cmake --build --preset win32 >build/build-win32.log
ls -l build/win32/bin/SETUP.EXE
source scripts/wine-env.sh
if [ "$SETUP_WINE_ARCH" = win64 ]; then
  echo "== this machine cannot run 32-bit code: Wine runs the x86_64 build of the same sources"
  cmake --preset win64 >build/configure-win64.log && cmake --build --preset win64 >build/build-win64.log
fi
bash scripts/wine-prefix.sh
if [ $visible -eq 1 ]; then
  [ -n "${DISPLAY:-}" ] || { echo "--visible needs a display (DISPLAY is not set)"; exit 1; }
  dist="$WINEPREFIX/drive_c/Demo"
  mkdir -p "$dist"
  cp examples/Setup.lst examples/Liesmich.txt examples/Vertrag.Txt "$SETUP_WIN_BUILD/bin/SETUP.EXE" "$dist/"
  # The program files Setup.lst names, compressed from stand-in texts.
  for f in ADRESSEN.EXE ADRESSEN.HLP beispiel.HDB ADRHELP.DLL; do
    printf 'Stand-in for %s\r\n' "$f" >"$dist/$f"
    "$WINE" "$SETUP_WIN_BUILD/bin/distkit.exe" compress "C:\\Demo\\$f" >/dev/null
    rm "$dist/$f"
  done
  "$WINE" 'C:\Demo\SETUP.EXE' || echo "SETUP.EXE ended with exit status $?"
  "$WINESERVER" -w
  exit 0
fi
source scripts/xvfb.sh
start_xvfb DISPLAY 24
trap '"$WINESERVER" -k 2>/dev/null || true; stop_xvfb' EXIT
echo "== running the example distribution under Wine"
status=0
# The report is CP1252 text, as the program's own texts are.
"$WINE" "$SETUP_WIN_BUILD/bin/demo_driver.exe" | iconv -f CP1252 -t UTF-8 || status=$?
rm -rf build/demo
bash scripts/screenshots.sh "$SETUP_WIN_BUILD/screenshots" build/demo demo-
echo "== pictures:"
ls -1 build/demo/*.png
exit $status
