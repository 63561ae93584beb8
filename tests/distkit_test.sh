#!/usr/bin/env bash
# The toolkit's compress and expand commands as a packager uses them.
# Usage: distkit_test.sh DISTKIT EXAMPLES_DIR
set -uo pipefail
distkit=$1 examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
ok() { passed=$((passed + 1)); }
bad() { echo "FAILED: $1"; failed=$((failed + 1)); }
expect() { if eval "$2"; then ok; else bad "$1"; fi; }

cp "$examples/Liesmich.txt" "$work/Liesmich.txt"
head -c 3000000 /dev/urandom > "$work/random.dat"
yes "Adressen Straße Postleitzahl Ort" | head -c 2000000 > "$work/ADRESSEN.EXE"

# Round trips, in place and into another folder.
"$distkit" compress "$work/Liesmich.txt" "$work/ADRESSEN.EXE" "$work/random.dat" >"$work/out" 2>"$work/err"
expect "compress exits 0" '[ $? -eq 0 ]'
expect "compressed names" '[ -f "$work/Liesmich.tx_" ] && [ -f "$work/ADRESSEN.EX_" ] && [ -f "$work/random.da_" ]'
expect "no progress when not on a terminal" '[ ! -s "$work/err" ]'
expect "reports sizes" 'grep -q "ADRESSEN.EX_: 2000000 -> " "$work/out"'
mkdir "$work/x"
"$distkit" expand -o "$work/x" "$work/Liesmich.tx_" "$work/ADRESSEN.EX_" "$work/random.da_" >/dev/null
expect "expand exits 0" '[ $? -eq 0 ]'
expect "installed names" '[ -f "$work/x/Liesmich.TXT" ] && [ -f "$work/x/ADRESSEN.EXE" ] && [ -f "$work/x/random.DAT" ]'
expect "text byte-identical" 'cmp -s "$work/Liesmich.txt" "$work/x/Liesmich.TXT"'
expect "program byte-identical" 'cmp -s "$work/ADRESSEN.EXE" "$work/x/ADRESSEN.EXE"'
expect "random byte-identical" 'cmp -s "$work/random.dat" "$work/x/random.DAT"'
expect "repetitive data shrinks" '[ $(stat -c %s "$work/ADRESSEN.EX_") -lt 100000 ]'

# Names the installer would not recognise.
echo hi > "$work/HILFE.HL"
"$distkit" compress "$work/HILFE.HL" 2>"$work/err"
expect "two-letter extension refused with status 1" '[ $? -eq 1 ] && grep -q "three characters" "$work/err" && [ ! -e "$work/HILFE.H_" ]'
"$distkit" compress "$work/ADRESSEN.EX_" 2>"$work/err"
expect "a compressed name is not compressed again" '[ $? -eq 1 ] && grep -q "compressed file already" "$work/err"'

# Never over the input; unknown extensions need another folder.
cp "$work/Liesmich.tx_" "$work/DATEN.XY_"
before=$(md5sum <"$work/DATEN.XY_")
"$distkit" expand "$work/DATEN.XY_" 2>"$work/err"
expect "expand onto itself refused" '[ $? -eq 1 ] && grep -q "overwrite the input" "$work/err"'
expect "input untouched" '[ "$(md5sum <"$work/DATEN.XY_")" = "$before" ]'
"$distkit" expand -o "$work/x" "$work/DATEN.XY_" >/dev/null
expect "unknown extension expands into another folder" 'cmp -s "$work/Liesmich.txt" "$work/x/DATEN.XY_"'

# Damaged input: a clear error, no output, no temporary file left.
head -c 5000 "$work/ADRESSEN.EX_" > "$work/CUT.EX_"
"$distkit" expand "$work/CUT.EX_" 2>"$work/err"
expect "truncated file fails, in English" '[ $? -eq 1 ] && grep -q "damaged compressed data (the stream ends too early)" "$work/err"'
expect "no partial output" '[ ! -e "$work/CUT.EXE" ] && ! ls "$work" | grep -q distkit-tmp'
"$distkit" expand "$work/Liesmich.txt" 2>"$work/err"
expect "plain file: not compressed" '[ $? -eq 1 ] && grep -q "not in the compressed format" "$work/err"'
"$distkit" expand "$work/none.ex_" 2>"$work/err"
expect "missing file" '[ $? -eq 1 ] && grep -q "no such file" "$work/err"'

# The command line.
"$distkit" >/dev/null 2>&1
expect "no command: status 2" '[ $? -eq 2 ]'
"$distkit" compress 2>/dev/null
expect "no files: status 2" '[ $? -eq 2 ]'
"$distkit" pack x 2>/dev/null
expect "unknown command: status 2" '[ $? -eq 2 ]'
"$distkit" --help | grep -q "distkit compress" && "$distkit" --help | grep -q "never overwrites\|Neither command ever overwrites"
expect "help describes the commands" '[ $? -eq 0 ]'

# build and check on the example's texts with stand-in program files.
mkdir "$work/src"
cp "$examples/Setup.lst" "$examples/Liesmich.txt" "$examples/Vertrag.Txt" "$examples/ADRESSEN.HLP" \
  "$examples/beispiel.hdb" "$work/src/"
printf 'MZ stand-in' > "$work/src/ADRESSEN.EXE"
printf 'MZ stand-in' > "$work/src/ADRHELP.DLL"
printf 'MZ' > "$work/SETUP.EXE"
"$distkit" build --setup-exe "$work/SETUP.EXE" "$work/src" "$work/dist" >"$work/out" 2>&1
expect "build exits 0" '[ $? -eq 0 ] && grep -q "is ready" "$work/out"'
expect "build shows each file" 'grep -q "\[4/4\] compressed ADRHELP.DLL -> ADRHELP.DL_" "$work/out"'
expect "the distribution's files" '[ -f "$work/dist/ADRESSEN.EX_" ] && [ -f "$work/dist/SETUP.EXE" ] && [ -f "$work/dist/Vertrag.Txt" ]'
# Started through the PATH, by a link's name, it finds the SETUP.EXE beside its own file.
mkdir "$work/kit" "$work/links" && cp "$distkit" "$work/SETUP.EXE" "$work/kit/" && ln -s "$work/kit/distkit" "$work/links/dk"
(cd "$work/src" && PATH="$work/links:$PATH" dk build . ../viapath >/dev/null 2>&1)
expect "through the PATH and a link: the SETUP.EXE beside the toolkit" '[ $? -eq 0 ] && cmp -s "$work/viapath/SETUP.EXE" "$work/SETUP.EXE"'
"$distkit" check "$work/dist" >"$work/out"
expect "check: the sample-file warning, status 0" '[ $? -eq 0 ] && grep -q "^Setup.lst:13: warning: beispiel.hd_" "$work/out"'
"$distkit" check --strict "$work/dist" >/dev/null
expect "check --strict: status 1 on warnings" '[ $? -eq 1 ]'
rm "$work/dist/ADRESSEN.HL_"
"$distkit" check --json "$work/dist" >"$work/out"
expect "check: status 2 on errors" '[ $? -eq 2 ]'
expect "check --json" 'grep -q "\"severity\": \"error\", \"file\": \"Setup.lst\", \"line\": 12" "$work/out"'
for args in "pack $work/dist $work/a.zip" "manifest $work/dist --exe $work/SETUP.EXE --url https://example.invalid/a.exe"; do
  "$distkit" $args >"$work/out" 2>&1
  expect "${args%% *} refuses a folder that fails its check" '[ $? -eq 1 ] && grep -q "does not pass its check" "$work/out" && [ ! -e "$work/a.zip" ]'
done
rm "$work/src/ADRESSEN.EXE"
"$distkit" build --setup-exe "$work/SETUP.EXE" "$work/src" "$work/dist" >/dev/null 2>"$work/err"
expect "a failed build: status 1, the old folder kept" '[ $? -eq 1 ] && [ -f "$work/dist/ADRESSEN.EX_" ] && [ ! -e "$work/dist.distkit-tmp" ]'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
