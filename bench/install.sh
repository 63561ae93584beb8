#!/usr/bin/env bash
# Installation benchmark: SETUP.EXE /s under Wine on generated distributions of 1,000 and
# 10,000 files (half compressed, about 50 KB each), with the time per file and the share of
# it that goes to the install log, then the quiet removal through Uninstal.exe /q. Beside each, in the
# same prefix and run, the floor: the least any installer does for the same files (copy to a
# temporary name, one log line, move into place; expand with our expander), and a bare
# delete loop; and their ratio; and the installation from the same distribution as one file
# (distkit bundle). Other counts: bench/install.sh 500 2000 ...
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
bench() { "$WINE" "$SETUP_WIN_BUILD/bin/install_bench.exe" "$@" 2>/dev/null </dev/null | tr -d '\r'; }
# A shared machine and Wine's own start vary from run to run by a second or more: each part
# is timed in several rounds (SETUP_BENCH_ROUNDS, default 3) and the fastest counts.
rounds=${SETUP_BENCH_ROUNDS:-3}
least() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a + 0 < b + 0) ? a : b }'; }
# Runs one phase after the disk's write-back is emptied (what came before must not slow it
# down); its figures land in the array figures.
timed() {
  sync
  read -r -a figures < <(bench "$1" "$2" | grep "^$1 ") || { echo "$1 of $2 files failed"; exit 1; }
}
first_count="" base=()
for count in "${counts[@]}"; do
  bench prepare "$count"
  install="" floor="" remove="" unfloor="" bundle=""
  for _ in $(seq "$rounds"); do
    timed install "$count"; install=$(least "${figures[2]}" "$install") timers=${figures[3]}
    timed remove "$count"
    timed bundle "$count"; bundle=$(least "${figures[2]}" "$bundle")
    timed floor "$count"; floor=$(least "${figures[2]}" "$floor")
    timed remove "$count"; remove=$(least "${figures[2]}" "$remove") rtimers=${figures[3]}
    timed unfloor "$count"; unfloor=$(least "${figures[2]}" "$unfloor")
  done
  read -r _ _ log first last < <(bench log "$count" | grep '^log ')
  bench clean "$count" >/dev/null
  awk -v n="$count" -v t="$install" -v w="$timers" -v fl="$floor" -v l="$log" -v f="${first:-}" -v z="${last:-}" \
      -v r="$remove" -v rw="$rtimers" -v u="$unfloor" -v b="$bundle" 'BEGIN {
    printf "  installing: %.1f s in all (%.1f s of it the start window timers), %.2f ms per file; a log entry %.1f us (%.1f%% of it)\n", t, w, 1000*(t-w)/n, 1e6*l/n, 100*l/(t-w)
    printf "  from one file (distkit bundle): %.1f s in all, %.2f times the folder without the timers\n", b, (b-w)/(t-w)
    printf "  the floor: %.1f s, %.2f ms per file; SETUP.EXE without its timers: %.2f times the floor\n", fl, 1000*fl/n, (t-w)/fl
    printf "  removing through Uninstal.exe /q: %.1f s in all (%.1f s of it the start window timer), %.2f ms per file\n", r, rw, 1000*(r-rw)/n
    printf "  a bare delete loop: %.2f s, %.2f ms per file; the removal without its timer: %.2f times that\n", u, 1000*u/n, (r-rw)/u
    if (f != "") printf "  log entries: the first thousand %.1f us each, the last thousand %.1f us each\n", 1000*f, 1000*z }'
  # Timers and each program's start and end cost the same at any count: what one more file
  # costs is the slope between two counts.
  if [ -z "$first_count" ]; then
    first_count=$count base=("$install" "$floor" "$remove" "$unfloor")
  else
    awk -v a="$count" -v b="$first_count" -v t="$install" -v fl="$floor" -v r="$remove" -v u="$unfloor" \
        -v t0="${base[0]}" -v fl0="${base[1]}" -v r0="${base[2]}" -v u0="${base[3]}" 'BEGIN {
      n = a - b; it = 1000*(t-t0)/n; ft = 1000*(fl-fl0)/n; rt = 1000*(r-r0)/n; ut = 1000*(u-u0)/n
      printf "per file from %d to %d files: installing %.2f ms, the floor %.2f ms (%.2f times); removing %.2f ms, the bare delete loop %.2f ms (%.2f times)\n", b, a, it, ft, it/ft, rt, ut, rt/ut }'
  fi
done
