#!/usr/bin/env bash
# The Wine levels of one build: its Win32 unit tests and whole-program scenarios, on virtual
# displays, with the small drive S:. test.sh runs it on this machine or, where this machine
# runs no 32-bit code, inside the emulated one (scripts/vm.sh).
# Usage: wine-tests.sh BUILD_DIR [PART PARTS]: with PART and PARTS, every PARTS-th test from
# the PART-th on, so that several machines share the tests.
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
build=$1
share=()
[ $# -ge 3 ] && share=(-I "$2,,$3")
# SETUP_WINE_TESTS_ONLY: a regular expression choosing tests by name.
[ -n "${SETUP_WINE_TESTS_ONLY:-}" ] && share+=(-R "$SETUP_WINE_TESTS_ONLY")
source scripts/wine-env.sh
source scripts/xvfb.sh
# The emulated machine's prefix was made with it; elsewhere every run makes a fresh one.
[ -n "${SETUP_IN_VM:-}" ] || bash scripts/wine-prefix.sh
bash scripts/small-drive.sh on
start_xvfb DISPLAY 24
# One server and one desktop for all the test programs, started apart from ctest's pipes:
# the desktop process lives on and would keep them open.
"$WINESERVER" -p
"$WINE" cmd /c exit >/dev/null 2>&1 </dev/null
start_xvfb SETUP_DISPLAY_8BIT 8 -cc 2   # 256 colours, a fixed palette Wine can use
export SETUP_DISPLAY_8BIT
echo "Wine $("$WINE" --version) ($SETUP_WINE_ARCH) runs $build"
# A program under Wine now and then fails to start at all (no output, a tenth of a second);
# such a case is run once more. A real failure fails both times.
ctest --test-dir "$build" -L wine "${share[@]}" --repeat until-pass:2 --output-on-failure
status=$?
"$WINESERVER" -k 2>/dev/null || true
stop_xvfb
bash scripts/small-drive.sh off
exit $status
