#!/usr/bin/env bash
# Runs every test: native unit tests, the checks of the shipped SETUP.EXE, the Win32 unit
# tests and the whole-program scenarios under Wine on a virtual display. Ends with one
# "N passed, N failed" line.
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
bash scripts/install-deps.sh || { echo "installing the build's packages failed"; exit 1; }

passed=0
failed=0
problems=()
# Adds up what one ctest run reports; a run that could not start counts as one failure.
count() {
  local log=$1 what=$2 line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    failed=$((failed + 1)); problems+=("$what: did not run"); return
  fi
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
  passed=$((passed + total - bad)); failed=$((failed + bad))
  [ "$bad" -eq 0 ] || problems+=("$what: $bad failed")
}
build() {
  local preset=$1; shift
  cmake --preset "$preset" -DSETUP_WERROR=ON "$@" >"build/configure-$preset.log" 2>&1 &&
    cmake --build --preset "$preset" >"build/build-$preset.log" 2>&1 ||
    { echo "== build $preset failed:"; tail -n 40 "build/build-$preset.log" "build/configure-$preset.log" 2>/dev/null; return 1; }
}
suite() {
  local what=$1; shift
  local log="build/ctest-${what// /-}.log"
  echo "== $what"
  ctest "$@" --output-on-failure 2>&1 | tee "$log" | grep -E '^ *[0-9]+/[0-9]+ Test|tests passed|\*\*\*|Failure|Expected|Which is' || true
  count "$log" "$what"
}

mkdir -p build
# Short fuzzing runs (clang, with the address and undefined-behaviour sanitizers) of the
# expander, the toolkit's setup-script reader and its check of whole distribution folders,
# each seeded with files of our own.
fuzz_one() {
  local name=$1 runs=$2 corpus=build/fuzz-corpus/$1
  shift 2
  mkdir -p "$corpus"
  build/fuzz/bin/$name -runs=$runs -max_len=4096 "$corpus" "$@" >"build/fuzz-$name.log" 2>&1 ||
    { tail -n 30 "build/fuzz-$name.log"; return 1; }
  echo "$name: $(grep -E '^Done' "build/fuzz-$name.log")"
}
fuzz() {
  echo "== fuzzing (short runs)"
  build fuzz || return 1
  rm -rf build/fuzz-corpus && mkdir -p build/fuzz-corpus/expander_fuzz build/fuzz-corpus/script_reader_fuzz \
    build/fuzz-corpus/check_fuzz
  printf '!HZL\x03\0\0\0\xF6\xFB\xBD\xE0' >build/fuzz-corpus/expander_fuzz/abc
  build/native/bin/distkit compress -o build/fuzz-corpus/expander_fuzz examples/Liesmich.txt examples/Vertrag.Txt >/dev/null
  cp examples/Setup.lst build/fuzz-corpus/script_reader_fuzz/
  # A folder as the check harness reads it: the script, then "\n\x01name\n" and each file.
  { cat examples/Setup.lst; printf '\n\x01Liesmich.txt\nHallo\r\n\n\x01ADRESSEN.EX_\n'
    cat build/fuzz-corpus/expander_fuzz/abc; } >build/fuzz-corpus/check_fuzz/example
  fuzz_one expander_fuzz 20000 && fuzz_one script_reader_fuzz 100000 && fuzz_one check_fuzz 5000
}

source scripts/wine-env.sh
source scripts/xvfb.sh
win32_wine=OFF
[ "$SETUP_WINE_ARCH" = win32 ] && win32_wine=ON
build native && suite "native unit tests" --preset native || { failed=$((failed + 1)); problems+=("native build"); }
build sanitize && suite "native unit tests under ASan and UBSan" --preset sanitize ||
  { failed=$((failed + 1)); problems+=("sanitizer build"); }
if fuzz; then passed=$((passed + 1)); else failed=$((failed + 1)); problems+=("fuzzing"); fi
build win32 -DSETUP_WINE_TESTS=$win32_wine && suite "SETUP.EXE file checks" --preset win32 -L static ||
  { failed=$((failed + 1)); problems+=("win32 build"); }
if [ "$SETUP_WINE_ARCH" = win64 ]; then
  echo "== this machine cannot run 32-bit code: the Wine tests run the x86_64 build of the same sources"
  build win64 || { failed=$((failed + 1)); problems+=("win64 build"); }
fi
if [ -d "$SETUP_WIN_BUILD/bin" ]; then
  bash scripts/wine-prefix.sh
  bash scripts/small-drive.sh on
  start_xvfb DISPLAY 24
  # One server and one desktop for all the test programs, started apart from ctest's pipes:
  # the desktop process lives on and would keep them open.
  "$WINESERVER" -p
  "$WINE" cmd /c exit >/dev/null 2>&1 </dev/null
  start_xvfb SETUP_DISPLAY_8BIT 8 -cc 2   # 256 colours, a fixed palette Wine can use
  export SETUP_DISPLAY_8BIT
  # A program under Wine now and then fails to start at all (no output, a tenth of a
  # second); such a case is run once more. A real failure fails both times.
  suite "Wine tests ($SETUP_WINE_ARCH)" --test-dir "$SETUP_WIN_BUILD" -L wine --repeat until-pass:2
  "$WINESERVER" -k 2>/dev/null || true
  stop_xvfb
  bash scripts/small-drive.sh off
  bash scripts/screenshots.sh "$SETUP_WIN_BUILD/screenshots" build/screenshots
fi

echo
for p in "${problems[@]}"; do echo "problem: $p"; done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
