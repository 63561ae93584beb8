#!/usr/bin/env bash
# Checks the shipped SETUP.EXE: a 32-bit GUI program for subsystem 4.0, importing only
# libraries that Windows protects as known DLLs, and small. Usage: check_exe.sh SETUP.EXE OBJDUMP
set -uo pipefail
exe=$1 objdump=$2
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; fail=1; fi; }
headers=$("$objdump" -p "$exe")
check "PE32 (32-bit)" 'grep -q "^Magic.*010b" <<<"$headers"'
check "i386 machine" '"$objdump" -f "$exe" | grep -q "architecture: i386"'
check "GUI subsystem" 'grep -qE "^Subsystem[[:space:]]+00000002" <<<"$headers"'
check "subsystem version 4.0" 'grep -qE "^MajorSubsystemVersion[[:space:]]+4$" <<<"$headers" && grep -qE "^MinorSubsystemVersion[[:space:]]+0$" <<<"$headers"'
# A library imported by name is loaded before the program's first instruction, and Windows
# looks for it beside the program first unless it is a known DLL. These five are known DLLs
# on NT 4 and every later version; the rest (common controls, the component library) is
# loaded by full path, and the C library is the program's own.
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll"
imports=$(grep "DLL Name:" <<<"$headers" | awk '{print tolower($3)}' | sort -u)
check "imports something" '[ -n "$imports" ]'
for dll in $imports; do
  check "imports only known DLLs: $dll" '[[ " $allowed " == *" $dll "* ]]'
done
# Functions that Windows 95 or NT 4 lack: one such import and the program does not even load.
newer="GetTickCount64 AddVectoredExceptionHandler RemoveVectoredExceptionHandler TryEnterCriticalSection
GetHandleInformation IsDebuggerPresent InterlockedCompareExchange GetAncestor InitCommonControlsEx
CheckTokenMembership GetFileAttributesExA GetLongPathNameA SHGetFolderPathA SHGetSpecialFolderPathA
GetModuleHandleExA SetDllDirectoryA SetDefaultDllDirectories MoveFileWithProgressA"
functions=$(awk '/DLL Name:/ {inside=1; next} inside && NF>=3 && $1 ~ /^[0-9a-f]+$/ {print $3}' <<<"$headers")
for f in $newer; do
  check "no import newer than Windows 95 and NT 4: $f" '! grep -qx "$f" <<<"$functions"'
done
# Resource types at the top of the resource directory: 3 icon, 14 icon group, 16 version.
types=$(sed -n '/The .rsrc Resource Directory section/,$p' <<<"$headers" | grep -E '^0[0-9a-f]{2}   Entry: ID:' | awk '{print $4}')
check "an icon" 'grep -q "0x00000e" <<<"$types"'
check "a version resource" 'grep -q "0x000010" <<<"$types"'
check "a manifest resource" 'grep -q "0x000018" <<<"$types"'
manifest=$(tr -d '\r\n' <"$exe" | grep -ao '<?xml[^>]*>[[:space:]]*<assembly.*</assembly>' | head -n 1)
check "the manifest is well-formed XML" 'xmllint --noout - <<<"$manifest"'
check "the manifest asks for the highest available rights" 'grep -q "level=\"highestAvailable\"" <<<"$manifest"'
check "the manifest names Vista to 10 (5 systems)" '[ "$(grep -o "<supportedOS " <<<"$manifest" | wc -l)" -eq 5 ]'
check "the manifest keeps the classic controls" '! grep -q "Common-Controls" <<<"$manifest"'
check "stripped" '! "$objdump" -h "$exe" | grep -q "\.debug"'
size=$(stat -c %s "$exe")
check "at most 192 KiB ($size bytes)" '[ "$size" -le 196608 ]'
exit $fail
