#!/usr/bin/env bash
# A release as a packager makes it: SETUP.EXE rebuilt elsewhere gives the same bytes; the
# example distribution built signed, checked, bundled as one signed program, packed into one
# archive twice alike, and described for winget and for a detection rule. (The signed one is installed by a Wine test.)
# Usage: release_test.sh SETUP.EXE WIN_BIN_DIR   (the toolkit of the native build is used)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$root/tests/test_certificate.sh"
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
expect() { if eval "$2"; then passed=$((passed + 1)); else echo "FAILED: $1"; failed=$((failed + 1)); fi; }

# The same sources in another folder, built apart: the same SETUP.EXE.
mkdir -p "$work/anderer Ort"
tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$work/anderer Ort" -xf -
(cd "$work/anderer Ort" && cmake --preset win32 >/dev/null && cmake --build build/win32 --target SETUP -j2 >/dev/null)
expect "SETUP.EXE rebuilt in another folder is the same, byte for byte" \
  'cmp "$setup_exe" "$work/anderer Ort/build/win32/bin/SETUP.EXE"'

# The example, as demo.sh lays it out.
src=$work/src
example_source "$root" "$bin" "$src"

# Signed with a throw-away certificate.
make_test_certificate "$work"
"$distkit" build --setup-exe "$setup_exe" --sign "$work/cert.pfx" --password-file "$work/password" "$src" "$work/dist" >"$work/out" 2>&1
expect "a signed build succeeds" '[ $? -eq 0 ] && grep -q "signed SETUP.EXE" "$work/out"'
"$distkit" check "$work/dist" >"$work/out"
expect "the check calls the signature valid" '[ $? -eq 0 ] && grep -q "note: signed by /CN=Muster Software Test" "$work/out"'
expect "the signature verifies against its certificate" \
  'osslsigncode verify -in "$work/dist/SETUP.EXE" -CAfile "$work/cert.pem" >/dev/null'
cp -r "$work/dist" "$work/changed"
printf 'X' | dd of="$work/changed/SETUP.EXE" bs=1 seek=4096 conv=notrunc 2>/dev/null
"$distkit" check "$work/changed" >"$work/out"
expect "a changed signed file is an error" '[ $? -eq 2 ] && grep -q "signature is broken" "$work/out"'
"$distkit" build --setup-exe "$setup_exe" --sign "$work/cert.pfx" "$src" "$work/nopass" >"$work/out" 2>&1
expect "a wrong password fails the build and leaves nothing" '[ $? -eq 1 ] && [ ! -e "$work/nopass" ]'
"$distkit" build --setup-exe "$setup_exe" "$src" "$work/unsigned" >/dev/null
"$distkit" check --strict "$work/unsigned" >"$work/out"
expect "unsigned: a warning, an error with --strict" '[ $? -eq 1 ] && grep -q "warning: not signed" "$work/out"'

# One file: the signed distribution bundled, then signed; the signature covers what it carries.
bundle=$work/Adressen-1.0-Setup.exe
"$distkit" bundle --sign "$work/cert.pfx" --password-file "$work/password" "$work/dist" "$bundle" >"$work/out" 2>&1
expect "a signed bundle is made" '[ $? -eq 0 ] && grep -q "signed .*Adressen-1.0-Setup.exe" "$work/out"'
"$distkit" bundle --sign "$work/cert.pfx" --password-file "$work/password" "$work/unsigned" "$work/u.exe" >"$work/out" 2>&1
expect "no signed bundle of an unsigned folder" '[ $? -eq 1 ] && grep -q "SETUP.EXE is not signed" "$work/out" && [ ! -e "$work/u.exe" ]'
expect "its signature verifies" 'osslsigncode verify -in "$bundle" -CAfile "$work/cert.pem" >/dev/null'
cp "$bundle" "$work/changed.exe"
printf 'X' | dd of="$work/changed.exe" bs=1 seek=$(($(stat -c %s "$setup_exe") + 100)) conv=notrunc 2>/dev/null
expect "a changed byte in what it carries breaks it" '! osslsigncode verify -in "$work/changed.exe" -CAfile "$work/cert.pem" >/dev/null 2>&1'
"$distkit" bundle "$work/changed" "$work/refused.exe" >/dev/null 2>&1
expect "a folder that fails its check gives no bundle" '[ $? -eq 1 ] && [ ! -e "$work/refused.exe" ]'
"$distkit" manifest "$work/dist" --exe "$bundle" --url https://example.invalid/Adressen-1.0-Setup.exe >"$work/one.yaml"
expect "the bundle's manifest: an exe installer with its digest" \
  'grep -q "^InstallerType: exe$" "$work/one.yaml" && ! grep -q Nested "$work/one.yaml" &&
   grep -q "InstallerSha256: $(sha256sum "$bundle" | cut -c1-64)" "$work/one.yaml"'

# One archive, the same bytes for the same folder; signed at the release time, the same
# SETUP.EXE however far apart two builds are.
export SOURCE_DATE_EPOCH=1700000000
for copy in 1 2; do
  "$distkit" build --setup-exe "$setup_exe" --sign "$work/cert.pfx" --password-file "$work/password" "$src" "$work/signed$copy" >/dev/null
  sleep 1
done
expect "two signed builds at one SOURCE_DATE_EPOCH are alike" 'cmp "$work/signed1/SETUP.EXE" "$work/signed2/SETUP.EXE"'
"$distkit" build --setup-exe "$setup_exe" "$src" "$work/release" >/dev/null
cp -a "$work/release" "$work/release2"
"$distkit" pack "$work/release" "$work/a.zip" >/dev/null && sleep 1 && "$distkit" pack "$work/release2" "$work/b.zip" >/dev/null
expect "two archives of one folder are alike" 'cmp "$work/a.zip" "$work/b.zip"'
unzip -q "$work/a.zip" -d "$work/unpacked"
expect "the archive holds the distribution" 'diff -r "$work/release" "$work/unpacked"'
unzip -Z -T "$work/a.zip" >"$work/listing"
expect "entries in name order, with the release time" \
  '[ "$(unzip -Z1 "$work/a.zip" | tr "\n" " ")" = "ADRESSEN.EX_ ADRESSEN.HL_ ADRHELP.DL_ Liesmich.txt SETUP.EXE Setup.lst Vertrag.Txt beispiel.hd_ " ] &&
   grep -q " 20231114\.221320 SETUP.EXE" "$work/listing"'
unset SOURCE_DATE_EPOCH

# The manifest: what the schema requires, the archive's digest, the detection rule.
"$distkit" manifest "$work/release" --zip "$work/a.zip" --url https://example.invalid/adressen.zip >"$work/manifest.yaml"
expect "manifest exits 0" '[ $? -eq 0 ]'
for field in PackageIdentifier PackageVersion Installers ManifestType ManifestVersion; do
  expect "manifest has $field" 'grep -q "^$field:" "$work/manifest.yaml"'
done
for field in Architecture InstallerUrl InstallerSha256; do
  expect "installer has $field" 'grep -Eq "^  (- |  )$field: " "$work/manifest.yaml"'
done
expect "the archive's SHA-256" 'grep -q "InstallerSha256: $(sha256sum "$work/a.zip" | cut -c1-64)" "$work/manifest.yaml"'
expect "a zip with SETUP.EXE inside" 'grep -q "InstallerType: zip" "$work/manifest.yaml" && grep -q "RelativeFilePath: SETUP.EXE" "$work/manifest.yaml"'
expect "the detection rule names the registration key" \
  'grep -q "^#   key:   HKEY_LOCAL_MACHINE\\\\SOFTWARE\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Adressen$" "$work/manifest.yaml"'
expect "the restart, downgrade, other-program, second-run and missing-shortcut statuses as winget reads them" \
  'grep -A1 "InstallerReturnCode: 3010$" "$work/manifest.yaml" | grep -q "ReturnResponse: rebootRequiredToFinish" &&
   grep -A1 "InstallerReturnCode: 6$" "$work/manifest.yaml" | grep -q "ReturnResponse: downgrade" &&
   grep -A1 "InstallerReturnCode: 7$" "$work/manifest.yaml" | grep -q "ReturnResponse: invalidParameter" &&
   grep -A1 "InstallerReturnCode: 9$" "$work/manifest.yaml" | grep -q "ReturnResponse: installInProgress" &&
   grep -q "^#.* 9 retry" "$work/manifest.yaml" &&
   grep -A1 "^InstallerSuccessCodes:$" "$work/manifest.yaml" | grep -qx "  - 8"'
"$distkit" manifest "$work/release" --zip "$work/none.zip" --url https://example.invalid/a.zip >/dev/null 2>&1
expect "a missing archive: status 1" '[ $? -eq 1 ]'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
