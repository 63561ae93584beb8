#!/usr/bin/env bash
# Makes a fresh Wine prefix. A new prefix links Desktop, Documents and the like to the
# host's home folder; they are replaced with plain folders so no test ever writes there.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
"$WINESERVER" -k 2>/dev/null || true
# Wine takes a program's code page from its locale: the Greek and the Polish ones for the runs
# under another code page (scripts/run-code-pages.sh).
for code_locale in el_GR pl_PL; do
  locale -a 2>/dev/null | grep -qix "$code_locale.utf8" || localedef -i $code_locale -f UTF-8 $code_locale.UTF-8 2>/dev/null || true
done
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
[ -d "$WINEPREFIX/drive_c/users/$USER" ] || { echo "the prefix has no profile C:\users\$USER" >&2; exit 1; }
echo "Wine prefix ready: $WINEPREFIX ($SETUP_WINE_ARCH, user $USER)"
