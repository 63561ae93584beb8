# Sourced: the Wine settings every test run and the demo use.
# 32-bit Wine where this machine can run 32-bit code, else 64-bit Wine with the x86_64 build.
SETUP_ROOT=${SETUP_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
if [ -z "${SETUP_WINE_ARCH:-}" ]; then
  if timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1; then
    SETUP_WINE_ARCH=win32
  else
    SETUP_WINE_ARCH=win64
  fi
fi
export SETUP_WINE_ARCH
if [ "$SETUP_WINE_ARCH" = win32 ]; then
  export WINE=/usr/lib/wine/wine
else
  export WINE=/usr/lib/wine/wine64
fi
export WINEARCH=$SETUP_WINE_ARCH
export WINEPREFIX=${WINEPREFIX:-$SETUP_ROOT/build/wineprefix-$SETUP_WINE_ARCH}
export WINEDEBUG=-all
# No desktop entries on the host, no Mono or Gecko installer prompts.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
export WINESERVER=/usr/lib/wine/wineserver
# The build whose programs this Wine runs.
export SETUP_WIN_BUILD=$SETUP_ROOT/build/$SETUP_WINE_ARCH
