#!/usr/bin/env bash
# The measuring part of bench/install.sh, where Wine runs the build: on this machine, or inside
# the emulated machine (scripts/vm.sh) where this one runs no 32-bit code. Arguments: the
# counts of files.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
source scripts/wine-env.sh
# The emulated machine's prefix was made with it.
[ -n "${SETUP_IN_VM:-}" ] || bash scripts/wine-prefix.sh
source scripts/xvfb.sh
start_xvfb DISPLAY 24
trap '"$WINESERVER" -k 2>/dev/null || true; stop_xvfb' EXIT
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(1000 4000)
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
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
first_count="" base=()
for count in "${counts[@]}"; do
  bench prepare "$count" >"build/bench-prepare-$count.log" || { cat "build/bench-prepare-$count.log"; exit 1; }
  grep 'files,' "build/bench-prepare-$count.log"
  install="" bundle="" upgrade="" remove="" floor="" unfloor=""
  for _ in $(seq "$rounds"); do
    timed install "$count"; install=$(least "${figures[2]}" "$install")
    timed upgrade "$count"; upgrade=$(least "${figures[2]}" "$upgrade")
    timed remove "$count"; remove=$(least "${figures[2]}" "$remove")
    timed bundle "$count"; bundle=$(least "${figures[2]}" "$bundle")
    timed remove "$count"
    timed floor "$count"; floor=$(least "${figures[2]}" "$floor")
    timed unfloor "$count"; unfloor=$(least "${figures[2]}" "$unfloor")
  done
  read -r _ _ log _ < <(bench log "$count" | grep '^log ')
  bench clean "$count" >/dev/null
  echo "  /q from the folder: $install s, the floor $floor s: $(ratio "$install" "$floor") times the floor (whole run)"
  echo "  /q from one file: $bundle s: $(ratio "$bundle" "$install") times the folder"
  echo "  version 2 over version 1, /q: $upgrade s: $(ratio "$upgrade" "$install") times a fresh installation"
  echo "  Uninstal.exe /q: $remove s, a bare delete loop $unfloor s: $(ratio "$remove" "$unfloor") times"
  awk -v n="$count" -v t="$install" -v l="$log" 'BEGIN {
    printf "  per file in all: %.2f ms; a log entry %.1f us of it\n", 1000*t/n, 1e6*l/n }'
  # Each program's start and end cost the same at any count: what one more file costs is the
  # slope between two counts.
  if [ -z "$first_count" ]; then
    first_count=$count base=("$install" "$floor" "$remove" "$unfloor")
  else
    awk -v a="$count" -v b="$first_count" -v t="$install" -v fl="$floor" -v r="$remove" -v u="$unfloor" \
        -v t0="${base[0]}" -v fl0="${base[1]}" -v r0="${base[2]}" -v u0="${base[3]}" 'BEGIN {
      n = a - b; it = 1000*(t-t0)/n; ft = 1000*(fl-fl0)/n; rt = 1000*(r-r0)/n; ut = 1000*(u-u0)/n
      printf "per file from %d to %d files: installing %.2f ms, the floor %.2f ms (%.2f times); removing %.2f ms, the bare delete loop %.2f ms (%.2f times)\n", b, a, it, ft, it/ft, rt, ut, rt/ut }'
  fi
done
# The installer's SHA-256 under Wine (the same objects SETUP.EXE is linked from), 16 KB blocks,
# beside this machine's openssl on the same block size.
read -r _ _ portable instructions < <(bench sha 512 | grep '^sha ')
openssl=$(openssl speed -seconds 2 -bytes 16384 sha256 2>/dev/null | awk '/^sha256/ { sub(/k$/, "", $NF); print $NF / 1000 }')
echo "SHA-256, 16 KB blocks: portable loop $portable MB/s; SHA instructions ${instructions:-(not on this processor)}${instructions:+ MB/s}; openssl speed sha256 ${openssl:-?} MB/s"
