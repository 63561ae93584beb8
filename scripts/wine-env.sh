# Sourced: the Wine settings every test run and the demo use.
# The shipped 32-bit build runs in 32-bit Wine: here where this machine runs 32-bit code
# (SETUP_WINE_WHERE=host), else inside the emulated machine of scripts/vm.sh (vm).
# SETUP_WINE_ARCH=win64 chooses this machine's 64-bit Wine and the x86_64 build instead, a
# quick check of the same sources for local work.
SETUP_ROOT=${SETUP_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
if [ -z "${SETUP_WINE_ARCH:-}" ]; then
  SETUP_WINE_ARCH=win32
  if [ -z "${SETUP_WINE_WHERE:-}" ]; then
    SETUP_WINE_WHERE=vm
    timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1 && SETUP_WINE_WHERE=host
  fi
fi
SETUP_WINE_WHERE=${SETUP_WINE_WHERE:-host}
export SETUP_WINE_ARCH SETUP_WINE_WHERE
if [ "$SETUP_WINE_ARCH" = win32 ]; then
  export WINE=/usr/lib/wine/wine
else
  export WINE=/usr/lib/wine/wine64
fi
export WINEARCH=$SETUP_WINE_ARCH
export WINEPREFIX=${WINEPREFIX:-$SETUP_ROOT/build/wineprefix-$SETUP_WINE_ARCH}
export WINEDEBUG=-all
# The user every run is: Wine names the profile folder after USER when it makes the prefix, so
# the programs meet C:\users\Łukasz, a name outside the code page, as many users' machines have.
export USER=Łukasz
# No desktop entries on the host, no Mono or Gecko installer prompts.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
export WINESERVER=/usr/lib/wine/wineserver
# On the host of the emulated machine nothing may start a Windows program, not even to list
# the tests of one.
if [ "$SETUP_WINE_WHERE" = vm ] && [ -z "${SETUP_IN_VM:-}" ]; then
  export WINE=$SETUP_ROOT/scripts/no-host-wine.sh WINESERVER=$SETUP_ROOT/scripts/no-host-wine.sh
fi
# The build whose programs this Wine runs.
export SETUP_WIN_BUILD=$SETUP_ROOT/build/$SETUP_WINE_ARCH
