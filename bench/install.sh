#!/usr/bin/env bash
# Installation benchmark: SETUP.EXE /q under Wine on distributions that distkit build made
# (with their checksums) of 1,000 and 4,000 files, half compressed, about 50 KB each: from the
# folder, from one file (distkit bundle), version 2 over version 1, and the quiet removal
# through Uninstal.exe /q. Each is timed as a whole run, from the program's start to its end,
# beside the floor in the same prefix and run: the least any installer does for the same files
# (copy to a temporary name, one log line, move into place; expand with our expander), and a
# bare delete loop. Between two counts, the slope: what one more file costs. Then the SHA-256
# throughput of the installer's code under Wine beside openssl speed sha256 on this machine.
# Other counts: bench/install.sh 500 2000 ...
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
bash scripts/install-deps.sh
source scripts/wine-env.sh
mkdir -p build
cmake --preset "$SETUP_WINE_ARCH" >"build/configure-$SETUP_WINE_ARCH.log"
cmake --build --preset "$SETUP_WINE_ARCH" --target install_bench >"build/build-$SETUP_WINE_ARCH.log"
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(1000 4000)
if [ "$SETUP_WINE_WHERE" = vm ]; then
  # The shipped 32-bit file in the emulated machine: every program there runs on an emulated
  # processor, the floor as much as SETUP.EXE, so the ratios hold and the seconds do not.
  bash scripts/vm.sh image >/dev/null
  echo "== in the emulated machine (this one runs no 32-bit code): seconds of an emulated processor"
  exec bash scripts/vm.sh run "SETUP_BENCH_ROUNDS=${SETUP_BENCH_ROUNDS:-3} bash bench/install-run.sh ${counts[*]}"
fi
exec bash bench/install-run.sh "${counts[@]}"
