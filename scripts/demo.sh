#!/usr/bin/env bash
# The main job: builds SETUP.EXE and the toolkit, builds and checks the example distribution
# with it, and runs it under Wine on a virtual display, driven, with a picture of each step:
# installing, starting the program, removing it. With --visible it runs on your own display
# instead, for you to click through.
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
echo "== building the toolkit"
cmake --preset native >build/configure-native.log && cmake --build --preset native --target distkit >build/build-native.log
bash scripts/wine-prefix.sh
# The example distribution, built and checked by the toolkit from examples/ and the example
# program and library of the build Wine runs.
src=build/example-src
rm -rf "$src" && mkdir -p "$src"
cp examples/Setup.lst examples/Liesmich.txt examples/Vertrag.Txt examples/ADRESSEN.HLP examples/beispiel.hdb "$src/"
cp "$SETUP_WIN_BUILD/bin/ADRESSEN.EXE" "$SETUP_WIN_BUILD/bin/ADRHELP.DLL" "$src/"
dist="$WINEPREFIX/drive_c/Demo"
# The Start menu folders a German Windows has in each profile, where the installer puts the
# program group of the user an administrator chooses.
for profile in "$WINEPREFIX"/drive_c/users/*/; do
  [ -d "$profile/Desktop" ] && mkdir -p "$profile/Startmenü/Programme"
done
echo "== distkit build examples -> C:\\Demo"
build/native/bin/distkit build --setup-exe "$SETUP_WIN_BUILD/bin/SETUP.EXE" "$src" "$dist"
echo "== distkit check C:\\Demo"
build/native/bin/distkit check "$dist"
if [ $visible -eq 1 ]; then
  [ -n "${DISPLAY:-}" ] || { echo "--visible needs a display (DISPLAY is not set)"; exit 1; }
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
"$WINE" "$SETUP_WIN_BUILD/bin/demo_driver.exe" 'C:\Demo' | iconv -f CP1252 -t UTF-8 || status=$?
rm -rf build/demo
bash scripts/screenshots.sh "$SETUP_WIN_BUILD/screenshots" build/demo demo-
echo "== pictures:"
ls -1 build/demo/*.png
exit $status
