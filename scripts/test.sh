#!/usr/bin/env bash
# Runs every test: native unit tests, the checks of the shipped SETUP.EXE, the Win32 unit
# tests and the whole-program scenarios of the shipped 32-bit build under 32-bit Wine on a
# virtual display (inside the emulated machine where this one runs no 32-bit code). Ends with
# one "N passed, N failed" line.
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
# Adds up a whole run of this command (its closing "N passed, N failed" line).
count_summary() {
  local line
  line=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$1" | tail -n 1)
  if [ -z "$line" ]; then
    failed=$((failed + 1)); problems+=("$2: did not finish"); return
  fi
  passed=$((passed + ${line%% passed*})); line=${line#*, }
  failed=$((failed + ${line%% failed*}))
  [ "${line%% failed*}" -eq 0 ] || problems+=("$2: ${line%% failed*} failed")
}
build() {
  local preset=$1; shift
  cmake --preset "$preset" -DSETUP_WERROR=ON "$@" >"build/configure-$preset.log" 2>&1 &&
    cmake --build --preset "$preset" >"build/build-$preset.log" 2>&1 ||
    { echo "== build $preset failed:"; tail -n 40 "build/build-$preset.log" "build/configure-$preset.log" 2>/dev/null; return 1; }
}
# The lines of a ctest run worth showing as it goes.
progress='^ *[0-9]+/[0-9]+ Test|tests passed|\*\*\*|Failure|Expected|Which is|^vm: '
# Runs a command that ends in a ctest run, shows its progress and adds up its results.
suite() {
  local what=$1; shift
  local log="build/ctest-${what//[ ()]/-}.log"
  echo "== $what"
  "$@" 2>&1 | tee "$log" | grep -E "$progress" || true
  count "$log" "$what"
}

# The Wine levels of the shipped build in emulated machines, one per host core (each keeps
# about one core busy), every machine taking every n-th test.
vm_wine_tests() {
  local parts=${SETUP_VM_COUNT:-$(nproc)} part pids=() what="32-bit Wine in the emulated machine" only=""
  [ -n "${SETUP_WINE_TESTS_ONLY:-}" ] && only="SETUP_WINE_TESTS_ONLY=${SETUP_WINE_TESTS_ONLY@Q} "
  # ctest's log folder, made before the machines share it: made by one machine, it may not yet
  # be seen by another, whose ctest then cannot start (a fresh clone has none yet).
  mkdir -p build/win32/Testing/Temporary
  # The Wine tests are listed once, before the machines share the build: machines listing them
  # at once write the same list files, and one may read a list half written and run a part.
  bash scripts/vm.sh run "ctest --test-dir build/win32 -L wine -N" >build/ctest-wine-list.log 2>&1 ||
    { tail -n 20 build/ctest-wine-list.log; failed=$((failed + 1)); problems+=("listing the Wine tests"); return; }
  echo "$(grep -E '^Total Tests:' build/ctest-wine-list.log) (listed once in the emulated machine)"
  for part in $(seq 2 "$parts"); do
    bash scripts/vm.sh run "${only}bash scripts/wine-tests.sh build/win32 $part $parts" >"build/ctest-wine-vm-$part.log" 2>&1 &
    pids[part]=$!
  done
  suite "Wine tests of the win32 build, part 1 of $parts ($what)" \
    bash scripts/vm.sh run "${only}bash scripts/wine-tests.sh build/win32 1 $parts"
  for part in $(seq 2 "$parts"); do
    wait "${pids[part]}"
    echo "== Wine tests of the win32 build, part $part of $parts ($what)"
    grep -E "$progress" "build/ctest-wine-vm-$part.log"
    count "build/ctest-wine-vm-$part.log" "Wine tests, part $part"
  done
}

# The power cuts (scripts/power-cut.sh), in an emulated machine of their own beside the
# others: both kinds of machine boot it. SETUP_POWERCUT=0 leaves them out. Where the Wine
# tests run in emulated machines too, the upgrade's cuts are left to the other kind of
# machine (each is a boot, and those machines have the least time to spare).
power_cut=""
power_cut_start() {
  [ "${SETUP_POWERCUT:-1}" = 1 ] || return 0
  local upgrades=${SETUP_POWERCUT_UPGRADES:-6}
  [ "$SETUP_WINE_WHERE" != vm ] || upgrades=${SETUP_POWERCUT_UPGRADES:-0}
  SETUP_POWERCUT_UPGRADES=$upgrades bash scripts/power-cut.sh >build/powercut.log 2>&1 &
  power_cut=$!
}
power_cut_count() {
  [ -n "$power_cut" ] || return 0
  echo "== power cuts during a quiet installation, in the emulated machine"
  if wait "$power_cut"; then passed=$((passed + 1)); else failed=$((failed + 1)); problems+=("power cuts"); fi
  grep -E '^(cut |  |power cuts|FAILED)' build/powercut.log | tail -n 80
}

mkdir -p build
# Short fuzzing runs (clang, with the address and undefined-behaviour sanitizers) of the
# expander, the toolkit's setup-script reader and its check of whole distribution folders,
# the one-file download's payload and program headers, and the install log's reading, each
# seeded with files of our own (bash scripts/fuzz-seeds.sh).
fuzz_one() {
  local name=$1 runs=$2 corpus=build/fuzz-corpus/$1
  shift 2
  build/fuzz/bin/$name -runs=$runs -max_len=4096 "$@" "$corpus" >"build/fuzz-$name.log" 2>&1 ||
    { tail -n 30 "build/fuzz-$name.log"; return 1; }
  echo "$name: $(grep -E '^Done' "build/fuzz-$name.log")"
}
fuzz() {
  echo "== fuzzing (short runs)"
  build fuzz || return 1
  bash scripts/fuzz-seeds.sh build/fuzz-corpus build/native/bin/distkit build/win32/bin >build/fuzz-seeds.log 2>&1 ||
    { tail -n 20 build/fuzz-seeds.log; return 1; }
  fuzz_one expander_fuzz 20000 && fuzz_one script_reader_fuzz 100000 && fuzz_one check_fuzz 5000 &&
    fuzz_one payload_fuzz 50000 && fuzz_one pe_fuzz 5000 -max_len=400000 &&
    fuzz_one install_log_fuzz 100000
}

source scripts/wine-env.sh
# Where Wine runs in the emulated machine, the host part runs with the host's Wine made
# unusable, so that a step that still needs it fails here as on a machine without 32-bit code.
if [ "$SETUP_WINE_WHERE" = vm ] && [ -z "${SETUP_WITHOUT_HOST_WINE:-}" ]; then
  SETUP_WITHOUT_HOST_WINE=1 exec bash scripts/without-host-wine.sh bash scripts/test.sh
fi
# The emulated machine is made once, while the native levels build and run. Where this
# machine runs 32-bit code itself, a short run in the emulated one still proves it works for
# the machines that do not (SETUP_VM_SMOKE=0 leaves it out).
vm_smoke=0
[ "$SETUP_WINE_WHERE" = host ] && [ "$SETUP_WINE_ARCH" = win32 ] && [ "${SETUP_VM_SMOKE:-1}" = 1 ] && vm_smoke=1
if [ "$SETUP_WINE_WHERE" = vm ] || [ $vm_smoke = 1 ]; then
  bash scripts/vm.sh image >build/vm-image.log 2>&1 &
  vm_image=$!
fi
# Waits for that machine; when it could not be made, says why and counts a failure.
vm_state=""  # once waited for: ready or failed
vm_ready() {
  [ -z "$vm_state" ] || { [ "$vm_state" = ready ]; return; }
  if wait "$vm_image"; then cat build/vm-image.log; vm_state=ready; return 0; fi
  tail -n 40 build/vm-image.log
  failed=$((failed + 1)); problems+=("the emulated machine could not be made")
  vm_state=failed
  return 1
}
build native && suite "native unit tests" ctest --preset native --output-on-failure || { failed=$((failed + 1)); problems+=("native build"); }
build sanitize && suite "native unit tests under ASan and UBSan" ctest --preset sanitize --output-on-failure ||
  { failed=$((failed + 1)); problems+=("sanitizer build"); }
win32_wine=ON
[ "$SETUP_WINE_ARCH" = win64 ] && win32_wine=OFF
# Only the checks' own folder: ctest lists the tests of every folder it reads, and listing
# the Wine tests runs them under Wine.
build win32 -DSETUP_WINE_TESTS=$win32_wine &&
  suite "SETUP.EXE file checks" ctest --test-dir build/win32/tests/static --output-on-failure ||
  { failed=$((failed + 1)); problems+=("win32 build"); }
# After the shipped build: a one-file download of it seeds the payload's harnesses.
if fuzz; then passed=$((passed + 1)); else failed=$((failed + 1)); problems+=("fuzzing"); fi
if [ "$SETUP_WINE_ARCH" = win64 ]; then
  echo "== asked for: the Wine tests run the x86_64 build of the same sources, not the shipped file"
  build win64 || { failed=$((failed + 1)); problems+=("win64 build"); }
fi
if [ "$SETUP_WINE_WHERE" = vm ]; then
  echo "== the Wine levels run the shipped 32-bit files in the emulated machine"
  vm_ready && power_cut_start && vm_wine_tests
elif [ -d "$SETUP_WIN_BUILD/bin" ]; then
  [ $vm_smoke = 1 ] && [ "$SETUP_WINE_ARCH" = win32 ] && vm_ready && power_cut_start
  suite "Wine tests ($SETUP_WINE_ARCH build, Wine on this machine)" bash scripts/wine-tests.sh "$SETUP_WIN_BUILD"
  # The way the machines without 32-bit code test, proven at every run: the host part once
  # more with the host's Wine unusable, and in the emulated machine the scenario that once
  # showed a fault only a 32-bit program has, and the version table.
  if [ $vm_smoke = 1 ] && vm_ready; then
    echo "== the host part again as a machine without 32-bit code runs it, and two Wine tests in the emulated machine"
    SETUP_WINE_WHERE=vm SETUP_VM_COUNT=1 SETUP_POWERCUT=0 SETUP_WINE_TESTS_ONLY='JaStartsTheInstalledProgram|NameAndFamilyOnEveryReportedVersion' \
      bash scripts/test.sh >build/test-without-host-wine.log 2>&1
    grep -E '^== |tests passed|^problem: |[0-9]+ passed, [0-9]+ failed' build/test-without-host-wine.log | sed 's/^/   /'
    count_summary build/test-without-host-wine.log "without the host's Wine"
  fi
fi
power_cut_count
[ -d "$SETUP_WIN_BUILD/screenshots" ] && bash scripts/screenshots.sh "$SETUP_WIN_BUILD/screenshots" build/screenshots

echo
for p in "${problems[@]}"; do echo "problem: $p"; done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
