#!/usr/bin/env bash
# The fuzz harnesses' seeds, files of our own: compressed files, the example's script, a
# distribution folder as the check harness reads it, one-file downloads made by distkit bundle
# (plain and signed) and their payload, inputs that once failed a harness (found/), and an
# install log as the installer writes one.
# Usage: seeds.sh CORPUS_DIR DISTKIT WIN_BIN_DIR (where SETUP.EXE, ADRESSEN.EXE, ADRHELP.DLL lie)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/tests/test_certificate.sh"
corpus=$1 distkit=$2 bin=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$corpus"
for name in expander_fuzz script_reader_fuzz check_fuzz payload_fuzz pe_fuzz install_log_fuzz; do mkdir -p "$corpus/$name"; done

printf '!HZL\x03\0\0\0\xF6\xFB\xBD\xE0' >"$corpus/expander_fuzz/abc"
"$distkit" compress -o "$corpus/expander_fuzz" "$root/examples/Liesmich.txt" "$root/examples/Vertrag.Txt" >/dev/null
cp "$root/examples/Setup.lst" "$corpus/script_reader_fuzz/"
# A folder as the check harness reads it: the script, then "\\n\\x01name\\n" and each file.
{ cat "$root/examples/Setup.lst"; printf '\n\x01Liesmich.txt\nHallo\r\n\n\x01ADRESSEN.EX_\n'
  cat "$corpus/expander_fuzz/abc"; } >"$corpus/check_fuzz/example"

example_source "$root" "$bin" "$work/src"
"$distkit" build --setup-exe "$bin/SETUP.EXE" "$work/src" "$work/dist" >/dev/null
"$distkit" bundle "$work/dist" "$work/plain.exe" >/dev/null
cp "$work/plain.exe" "$corpus/pe_fuzz/plain"
# The payload: what follows the program.
tail -c +$(($(stat -c %s "$bin/SETUP.EXE") + 1)) "$work/plain.exe" >"$corpus/payload_fuzz/example"
head -c 12 "$corpus/payload_fuzz/example" | grep -q SETUPPAY
# And one as small as a payload gets: one file "A.TXT" of five bytes (the digest is not checked).
le() { local i s=""; for ((i = 0; i < $2; i++)); do s+=$(printf '\\x%02x' $((($1 >> (8 * i)) & 255))); done; printf '%b' "$s"; }
{ printf SETUPPAY; le 112 4; printf Hallo; le 12 4; le 5 4; le 0 8; le 5 2; printf A.TXT; le 17 4; le 1 4
  printf '%064d' 0; } >"$corpus/payload_fuzz/small"
# A program as small as one gets (1 KB: headers, one section) carrying that payload.
{ printf MZ; le 0 58; le $((0x40)) 4; printf 'PE\0\0'; le 0 2; le 1 2; le 0 12; le 224 2; le 0 2; le $((0x10B)) 2
  le 0 58; le $((0x200)) 4; le 0 28; le 16 4; le 0 $((128 + 16)); le $((0x200)) 4; le $((0x200)) 4; le 0 16
  le 0 $((0x400 - 0x58 - 224 - 40)); cat "$corpus/payload_fuzz/small"; } >"$corpus/pe_fuzz/small"
make_test_certificate "$work"
"$distkit" build --setup-exe "$bin/SETUP.EXE" --sign "$work/cert.pfx" --password-file "$work/password" "$work/src" \
  "$work/signed" >/dev/null
"$distkit" bundle --sign "$work/cert.pfx" --password-file "$work/password" "$work/signed" "$work/signed.exe" >/dev/null
cp "$work/signed.exe" "$corpus/pe_fuzz/signed"
# Inputs that once failed a harness, kept as seeds so that they are tried at every run.
cp "$root"/tests/fuzz/found/pe-* "$corpus/pe_fuzz/"

printf '%s\r\n' '[General]' 'Name=Adressen' '[FileStates]' \
  'File1=16896,9e240eace59e902546b5c777cec8b8c20017915d2e0ec85580d5cc7b586da7dd' 'File3=183,00' \
  '[InstalledFiles]' 'File1=C:\Programme\Adressen\ADRESSEN.EXE' 'File2=C:\WINDOWS\ADRHELP.DLL' \
  'File3=C:\Programme\Adressen\beispiel.HDB' 'File4=C:\Programme\Adressen\Uninstal.exe' \
  '[FileOrigins]' 'File2=found,shared' '[Group]' 'Name=Adressen' '[StartMenu]' 'Folder=Adressen' \
  '[CreatedFolders]' 'Folder1=C:\Programme' 'Folder2=C:\Programme\Adressen' \
  '[BenutzerKonto]' 'UserName=C:\Users\Łukasz' >"$corpus/install_log_fuzz/example"
