#!/usr/bin/env bash
# Drive S: of the Wine prefix on a file system of 2 MB, for the full-disk scenarios:
#   bash scripts/small-drive.sh on | off
# A tmpfs needs root; where it cannot be mounted, S: is left out and those scenarios say so.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
point="$ROOT/build/small-drive"
case "${1:-on}" in
  on)
    mkdir -p "$point"
    mountpoint -q "$point" || mount -t tmpfs -o size=2m,mode=0777 tmpfs "$point" 2>/dev/null ||
      { echo "no small drive: a tmpfs cannot be mounted here"; exit 0; }
    ln -sfn "$point" "$WINEPREFIX/dosdevices/s:"
    echo "drive S: is a 2 MB file system"
    ;;
  off)
    rm -f "$WINEPREFIX/dosdevices/s:"
    mountpoint -q "$point" && umount "$point"
    ;;
esac
exit 0
