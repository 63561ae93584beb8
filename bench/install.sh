#!/usr/bin/env bash
# Installation benchmark: SETUP.EXE /s under Wine on generated distributions of 1,000 and
# 10,000 files (half compressed, about 50 KB each), with the time per file and the share of
# it that goes to the install log. Other counts: bench/install.sh 500 2000 ...
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
bash scripts/install-deps.sh
source scripts/wine-env.sh
mkdir -p build
cmake --preset "$SETUP_WINE_ARCH" >"build/configure-$SETUP_WINE_ARCH.log"
cmake --build --preset "$SETUP_WINE_ARCH" --target install_bench >"build/build-$SETUP_WINE_ARCH.log"
bash scripts/wine-prefix.sh
source scripts/xvfb.sh
start_xvfb DISPLAY 24
trap '"$WINESERVER" -k 2>/dev/null || true; stop_xvfb' EXIT
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(1000 10000)
"$WINE" "$SETUP_WIN_BUILD/bin/install_bench.exe" "${counts[@]}" 2>/dev/null </dev/null
