#!/usr/bin/env bash
# Runs a command as on a machine whose kernel runs no 32-bit code: the host's Wine, by any
# name, and the 32-bit program loader fail at once. The test command runs its host part so,
# to prove that nothing there still needs them. As root in a mount namespace of its own the
# files themselves are covered; otherwise only the names on the PATH and in the variables.
# Usage: without-host-wine.sh COMMAND...
set -euo pipefail
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
stub=$HERE/no-host-wine.sh
stubs=$HERE/../build/no-host-wine
rm -rf "$stubs" && mkdir -p "$stubs"
for name in wine wine64 wine-stable wineserver wineserver-stable wineboot winecfg winepath; do
  ln -s "$stub" "$stubs/$name"
done
printf 'not a program loader\n' >"$stubs/not-a-loader"
export PATH="$stubs:$PATH" WINE=$stub WINESERVER=$stub WINELOADER=$stub
if [ "$(id -u)" -eq 0 ] && unshare --mount true 2>/dev/null; then
  exec unshare --mount --propagation private bash -c '
    stub=$1 stubs=$2; shift 2
    for f in /usr/lib/wine/wine /usr/lib/wine/wine64 /usr/lib/wine/wineserver32 /usr/lib/wine/wineserver64; do
      [ -e "$f" ] && mount --bind "$stub" "$f"
    done
    loader=$(readlink -f /lib/ld-linux.so.2 || true)
    [ -n "$loader" ] && [ -e "$loader" ] && mount --bind "$stubs/not-a-loader" "$loader"
    exec "$@"' bash "$stub" "$stubs" "$@"
fi
echo "without-host-wine: not root, or no mount namespace: only the Wine on the PATH and in the variables is covered" >&2
exec "$@"
