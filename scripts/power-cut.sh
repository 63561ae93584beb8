#!/usr/bin/env bash
# The power cut: a quiet installation of some hundreds of files onto the emulated machine's
# second disk, and the machine killed (the host's kill -9 of qemu: what the guest had not
# written out is lost, as in a power cut) at moments spread over the installation. At the next
# boot what must hold is checked (tests/powercut/checks.sh): every file that lies under its
# own name is named by the log, the installation run again completes, and the removal leaves
# nothing. SETUP_POWERCUT_CUTS sets the number of cuts (default 20), SETUP_POWERCUT_FILES the
# files (default 200).
#   bash scripts/power-cut.sh            on the host: the whole test
#   power-cut.sh guest measure           one boot, inside: installs and removes once, printing
#                                        "installation: A to B ms" (the log's first appearance
#                                        and the end, from the run's start)
#   power-cut.sh guest cut N | final     one boot, inside: checks and finishes what the last cut
#                                        left; with cut, installs until the host cuts the power
#                                        (build/powercut/started-N: the log has appeared)
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
work=$ROOT/build/powercut

guest() {
  set +e
  source scripts/wine-env.sh
  source scripts/xvfb.sh
  source tests/powercut/checks.sh
  start_xvfb DISPLAY 24
  drive=$WINEPREFIX/drive_c/Schnitt dir=$WINEPREFIX/drive_c/Schnitt/Adressen
  mkdir -p "$drive"
  # Nothing reaches the disk but what is flushed, and what the file system's journal commits
  # every second on its own (renames among it, not the data written before them): a missing
  # flush shows.
  mount -o commit=1 /dev/vdb "$drive" || { echo "no second disk"; exit 1; }
  sysctl -q -w vm.dirty_writeback_centisecs=0 vm.dirty_expire_centisecs=360000
  local exe=$work/dist/SETUP.EXE
  exe="Z:${exe//\//\\}"  # Wine's drive Z: is the root
  setup() { "$WINE" "$exe" "$@" </dev/null >/dev/null 2>&1; }
  case "$1" in
    measure)
      ms() { local now=${EPOCHREALTIME/./}; echo $(((now - started) / 1000)); }
      local started=${EPOCHREALTIME/./} logged=""
      setup /q '/D=C:\Schnitt\Adressen' &
      while kill -0 $! 2>/dev/null; do
        [ -n "$logged" ] || [ ! -f "$dir/INSTALL1.LOG" ] || logged=$(ms)
        sleep 0.2
      done
      wait $! || fail "the installation ended with $?"
      echo "installation: ${logged:-0} to $(ms) ms"
      finish ;;
    cut | final)
      check_names
      [ ! -d "$dir" ] || finish
      [ "$1" = cut ] || { "$WINESERVER" -k; exit $failed; }
      sync
      setup /q '/D=C:\Schnitt\Adressen' &
      until [ -f "$dir/INSTALL1.LOG" ] || ! kill -0 $! 2>/dev/null; do sleep 0.2; done
      echo started >"$work/started-$2"
      sync "$work/started-$2"  # that file alone: a sync of every disk would flush the installation too
      wait $!
      echo "this installation ended before the cut" ;;
  esac
  "$WINESERVER" -k
  exit $failed
}
[ "${1:-}" = guest ] && { shift; guest "$@"; }

cuts=${SETUP_POWERCUT_CUTS:-20} files=${SETUP_POWERCUT_FILES:-200}
rm -rf "$work" && mkdir -p "$work/src"
# The distribution: half of the files compressed, 2 to 40 KB each.
{
  printf '[General]\r\nName=Adressen\r\ndefaultPath=C:\\Schnitt\\Adressen\r\n[StartMenu]\r\nFolder=Adressen\r\n'
  printf '[Group]\r\nName=Adressen\r\n[programfiles]\r\n'
  for k in $(seq "$files"); do
    name=$(printf 'DATEI%03d' "$k")
    head -c $(((k * 7919) % 38000 + 2000)) /dev/urandom | base64 >"$work/src/$name.TXT"
    if [ $((k % 2)) -eq 1 ]; then printf '%d=%s.TX_\r\n' "$k" "$name"; else printf '%d=%s.TXT\r\n' "$k" "$name"; fi
  done
  printf '[Items]\r\nDATEI001.TXT=Adressen\r\n'
} >"$work/src/Setup.lst"
build/native/bin/distkit build --setup-exe build/win32/bin/SETUP.EXE "$work/src" "$work/dist" >"$work/build.log"
disk=$work/disk.img
truncate -s 256M "$disk"
mkfs.ext4 -q -F "$disk"
export SETUP_VM_DISK2=$disk
run() { bash scripts/vm.sh run "bash scripts/power-cut.sh guest $*"; }

out=$(run measure) || { echo "$out"; echo "the whole installation failed"; exit 1; }
echo "$out"
read -r first length < <(sed -n 's/^installation: \([0-9]*\) to \([0-9]*\) ms$/\1 \2/p' <<<"$out") ||
  { echo "no length measured"; exit 1; }
failures=0
for cut in $(seq "$cuts"); do
  # Spread from the log's first line to near the end (a run here may be a little quicker than
  # the one measured), each moved by up to a tenth of a step at random.
  step=$(((length - first) * 85 / 100 / (cuts + 1)))
  at=$((step * cut + RANDOM % (step / 10 + 1)))
  run cut "$cut" >"$work/boot-$cut.log" 2>&1 &
  boot=$!
  for _ in $(seq 1800); do [ -f "$work/started-$cut" ] || ! kill -0 $boot 2>/dev/null && break; sleep 0.2; done
  sleep "$(awk -v ms="$at" 'BEGIN { printf "%.3f", ms / 1000 }')"
  pkill -9 -f "qemu-system-x86_64.*file=$disk" || true
  wait $boot || true
  # What this boot found of the cut before it, then this cut.
  grep -E '^(the last cut left|FAILED)' "$work/boot-$cut.log" | sed 's/^/  /' || true
  grep -q '^FAILED' "$work/boot-$cut.log" && failures=$((failures + 1))
  echo "cut $cut at $at ms after the log appeared"
  grep -E '^this installation ended' "$work/boot-$cut.log" | sed 's/^/  /' || true
  [ -f "$work/started-$cut" ] || { echo "  the installation never started"; failures=$((failures + 1)); }
done
out=$(run final) || failures=$((failures + 1))
echo "$out" | grep -E '^(the last cut left|FAILED)' | sed 's/^/  /' || true
echo "power cuts: $cuts, from $first to $length ms into the installation; $failures failed"
[ "$failures" -eq 0 ]
