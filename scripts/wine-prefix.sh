#!/usr/bin/env bash
# Makes a fresh Wine prefix. A new prefix links Desktop, Documents and the like to the
# host's home folder; they are replaced with plain folders so no test ever writes there.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
"$WINESERVER" -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
mkdir -p "$(dirname "$WINEPREFIX")"
"$WINE" wineboot -i >/dev/null 2>&1 || true
"$WINESERVER" -w
for user_dir in "$WINEPREFIX"/drive_c/users/*; do
  for link in "$user_dir"/*; do
    if [ -L "$link" ]; then
      rm "$link"
      mkdir -p "$link"
    fi
  done
done
# Wine draws the caption buttons with Marlett (fonts-wine), but does not look for it where
# Debian puts it; in the prefix's font folder it is found.
[ -f /usr/share/wine/fonts/marlett.ttf ] && cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
# One Wine desktop window that draws title bars and frames itself, as Windows does;
# without a window manager the programs' windows would have none.
cat > "$WINEPREFIX/drive_c/desktop.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"
REG
"$WINE" regedit /S 'C:\desktop.reg' >/dev/null 2>&1
rm -f "$WINEPREFIX/drive_c/desktop.reg"
"$WINESERVER" -w
echo "Wine prefix ready: $WINEPREFIX ($SETUP_WINE_ARCH)"
