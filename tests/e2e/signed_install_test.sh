#!/usr/bin/env bash
# The signed example distribution installed quietly under Wine: the uninstaller it leaves is
# SETUP.EXE's byte copy, so it carries the same valid signature; so does the one a signed
# one-file bundle of it installs. Runs among the Wine tests,
# with their Wine, prefix and display. Usage: signed_install_test.sh SETUP.EXE WIN_BIN_DIR
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$root/tests/test_certificate.sh"
drive=$WINEPREFIX/drive_c
trap 'rm -rf "$work" "$drive/Signiert" "$drive/SigniertZiel"' EXIT
failed=0
expect() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi; }

make_test_certificate "$work"
example_source "$root" "$bin" "$work/src"
"$distkit" build --setup-exe "$setup_exe" --sign "$work/cert.pfx" --password-file "$work/password" \
  "$work/src" "$work/dist" >"$work/out" 2>&1 || { cat "$work/out"; exit 1; }
rm -rf "$drive/Signiert" "$drive/SigniertZiel" && cp -r "$work/dist" "$drive/Signiert"
# The same as one signed file: the uninstaller it installs is the plain, signed SETUP.EXE.
"$distkit" bundle --sign "$work/cert.pfx" --password-file "$work/password" "$work/dist" \
  "$drive/Signiert/Adressen-Setup.exe" >"$work/out" 2>&1 || { cat "$work/out"; exit 1; }
for what in SETUP.EXE Adressen-Setup.exe; do
  # Wine returns when the program has ended; the Wine server of the test run stays.
  "$WINE" "C:\\Signiert\\$what" /q '/D=C:\SigniertZiel' 2>/dev/null
  expect "$what installs quietly" '[ $? -eq 0 ]'
  expect "$what: the installed Uninstal.exe is SETUP.EXE's byte copy with its valid signature" \
    'cmp -s "$drive/SigniertZiel/Uninstal.exe" "$work/dist/SETUP.EXE" &&
     osslsigncode verify -in "$drive/SigniertZiel/Uninstal.exe" -CAfile "$work/cert.pem" >/dev/null'
  "$WINE" 'C:\SigniertZiel\Uninstal.exe' /q 2>/dev/null
  expect "$what: its quiet removal ends well" '[ $? -eq 0 ]'
  # The uninstaller itself goes through its batch file, once it has ended.
  for _ in $(seq $((60 * ${SETUP_TEST_SLOWNESS:-1}))); do [ -e "$drive/SigniertZiel" ] || break; sleep 1; done
  expect "$what: the removal takes the uninstaller and its directory away" '[ ! -e "$drive/SigniertZiel" ]'
done
exit $failed
