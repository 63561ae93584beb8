#!/usr/bin/env bash
# The main job: builds SETUP.EXE and the toolkit, builds and checks the example distribution
# with it, and runs the shipped 32-bit SETUP.EXE under 32-bit Wine on a virtual display (in
# the emulated machine where this one runs no 32-bit code), driven, with a picture of each
# step: installing, starting the program, removing it. With --visible it runs on your own
# display instead, for you to click through.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
visible=0
[ "${1:-}" = "--visible" ] && visible=1
bash scripts/install-deps.sh
mkdir -p build
source scripts/wine-env.sh
if [ $visible -eq 1 ] && [ "$SETUP_WINE_WHERE" = vm ]; then
  echo "--visible needs a machine that runs 32-bit code (or SETUP_WINE_ARCH=win64 for the x86_64 build)"
  exit 1
fi
if [ "$SETUP_WINE_WHERE" = vm ]; then
  echo "== this machine runs no 32-bit code: making the emulated machine that runs SETUP.EXE (the first time only)"
  bash scripts/vm.sh image >/dev/null
fi
echo "== building SETUP.EXE (32-bit, shipped)"
cmake --preset win32 >build/configure-win32.log && cmake --build --preset win32 >build/build-win32.log
ls -l build/win32/bin/SETUP.EXE
if [ "$SETUP_WINE_ARCH" = win64 ]; then
  echo "== asked for: Wine runs the x86_64 build of the same sources"
  cmake --preset win64 >build/configure-win64.log && cmake --build --preset win64 >build/build-win64.log
fi
echo "== building the toolkit"
cmake --preset native >build/configure-native.log && cmake --build --preset native --target distkit >build/build-native.log
# The example distribution, built and checked by the toolkit from examples/ and the example
# program and library of the build Wine runs; demo-run.sh installs it from C:\Demo.
src=build/example-src
rm -rf "$src" && mkdir -p "$src"
cp examples/Setup.lst examples/Liesmich.txt examples/Vertrag.Txt examples/ADRESSEN.HLP examples/beispiel.hdb "$src/"
cp "$SETUP_WIN_BUILD/bin/ADRESSEN.EXE" "$SETUP_WIN_BUILD/bin/ADRHELP.DLL" "$src/"
echo "== distkit build examples -> build/demo-dist (C:\\Demo)"
build/native/bin/distkit build --setup-exe "$SETUP_WIN_BUILD/bin/SETUP.EXE" "$src" build/demo-dist
echo "== distkit check build/demo-dist"
build/native/bin/distkit check build/demo-dist
echo "== distkit bundle build/demo-dist -> build/demo-download/Adressen-1.0-Setup.exe (one file)"
rm -rf build/demo-download && mkdir -p build/demo-download
build/native/bin/distkit bundle build/demo-dist build/demo-download/Adressen-1.0-Setup.exe
if [ $visible -eq 1 ]; then
  exec bash scripts/demo-run.sh --visible
fi
rm -rf "$SETUP_WIN_BUILD/screenshots"/demo-*.bmp build/demo
status=0
if [ "$SETUP_WINE_WHERE" = vm ]; then
  bash scripts/vm.sh run "bash scripts/demo-run.sh" || status=$?
else
  bash scripts/demo-run.sh || status=$?
fi
bash scripts/screenshots.sh "$SETUP_WIN_BUILD/screenshots" build/demo demo-
echo "== pictures:"
ls -1 build/demo/*.png
exit $status
