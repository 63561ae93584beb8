#!/usr/bin/env bash
# The power cut: a quiet installation of some hundreds of files onto the emulated machine's
# second disk, and the machine killed (the host's kill -9 of qemu: what the guest had not
# written out is lost, as in a power cut) at moments spread over the installation: the first
# as the log appears, the last after the last file (the log's rewrite, the registration),
# the others when a chosen number of files, moved a little at random, lies in place. At the
# next boot what must hold is checked (tests/powercut/checks.sh): every file that lies under
# its own name is named by the log, the installation run again completes, and the removal
# leaves nothing. SETUP_POWERCUT_CUTS sets the number of cuts (default 20), SETUP_POWERCUT_FILES
# the files (default 200), SETUP_POWERCUT_UPGRADES the cuts of an upgrade (default 6): the
# program installed again over itself, each file replaced and the earlier one kept aside.
#   bash scripts/power-cut.sh            on the host: the whole test
#   power-cut.sh guest cut N [upgrade] | final
#                                        one boot, inside: checks and finishes what the last cut
#                                        left; with cut, installs (or upgrades) until the host
#                                        cuts the power, writing the number of files in place
#                                        (or replaced), as it grows, to build/powercut/progress-N
set -euo pipefail
shopt -s extglob  # before the functions are read: the guest counts files with !(...)
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
  # One server for the boot's runs: each of them starts the quicker.
  "$WINESERVER" -p
  check_names
  local what=${3:-installation}
  if [ "$what" = upgrade ]; then
    # The run to cut is the program installed again over itself: each file replaced, the
    # earlier one kept aside until the run has succeeded.
    setup /q '/D=C:\Schnitt\Adressen' || fail "the installation before the upgrade ended with $?"
  elif [ -d "$dir" ]; then
    finish
  fi
  [ "$1" = cut ] || { "$WINESERVER" -k; exit $failed; }
  sync
  local progress=$work/progress-$2 placed count most=0 told=""
  shopt -s nullglob
  mkfifo /tmp/tick && exec 9<>/tmp/tick  # a pause without a process: read waits for nothing
  setup /q '/D=C:\Schnitt\Adressen' &
  while kill -0 $! 2>/dev/null; do
    # The program's files under their own names (the uninstaller among them), or those an
    # upgrade has replaced (each earlier one kept aside), counted without a process of their
    # own; each new count written through the shared folder's cache to the host (that
    # file's sync alone: a sync of every disk would flush the installation too).
    # The copies an upgrade kept go once it has succeeded: then it is past its last file,
    # and past any count the host waits for. (An installation's count only grows, once its
    # log is there: the directory's write test before it comes and goes.)
    if [ "$what" = upgrade ]; then
      placed=("$dir"/~wk*/~up*)
      count=${#placed[@]}
      [ "$count" -ge "$most" ] && most=$count || count=1000000
    else
      placed=("$dir"/!(INSTALL1.LOG|cpy*|exp*|log*|~wk*))
      count=${#placed[@]}
    fi
    if [ -f "$dir/INSTALL1.LOG" ] && [ "$count" != "$told" ]; then
      told=$count
      echo "$told" >"$progress" && sync "$progress"
    fi
    read -r -t 0.05 -u 9
  done
  wait $!
  echo ended >"$progress" && sync "$progress"
  echo "this $what ended before the cut"
  "$WINESERVER" -k
  exit $failed
}
[ "${1:-}" = guest ] && { shift; guest "$@"; }

cuts=${SETUP_POWERCUT_CUTS:-20} upgrades=${SETUP_POWERCUT_UPGRADES:-6} files=${SETUP_POWERCUT_FILES:-200}
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

# Cut k of n when this many files lie in place: 0 (the log has appeared), evenly more, each
# moved by up to a third of a step at random, and all of them (after the last file).
target() {
  local k=$1 n=$2 step
  [ "$k" -gt 1 ] || { echo 0; return; }
  [ "$k" -lt "$n" ] || { echo $((files + 1)); return; }
  step=$(((files + 1) * 100 / (n - 1)))
  echo $(((step * (k - 1) + (RANDOM % (step * 2 / 3 + 1)) - step / 3) / 100))
}
failures=0 boot_number=0
# One boot: cut k of n of the given kind of run.
cut_power() {
  local what=$1 k=$2 n=$3 at boot progress placed="" now=""
  boot_number=$((boot_number + 1))
  at=$(target "$k" "$n")
  progress=$work/progress-$boot_number
  run cut "$boot_number" "$what" >"$work/boot-$boot_number.log" 2>&1 &
  boot=$!
  # Up to ten minutes for a boot, its checks and the run to come this far.
  for _ in $(seq 12000); do
    kill -0 $boot 2>/dev/null || break
    now=""
    [ ! -f "$progress" ] || now=$(<"$progress")
    [ -n "$now" ] && placed=$now  # (read while it was written: the count before)
    [ "$placed" = ended ] && break
    [ -n "$placed" ] && { [ "$at" -eq 0 ] || [ "$placed" -ge "$at" ]; } && break
    sleep 0.05
  done
  pkill -9 -f "qemu-system-x86_64.*file=$disk" || true
  wait $boot || true
  # What this boot found of the cut before it, then this cut.
  grep -E '^(the last cut left|FAILED)' "$work/boot-$boot_number.log" | sed 's/^/  /' || true
  grep -q '^FAILED' "$work/boot-$boot_number.log" && failures=$((failures + 1))
  if [ -z "$placed" ]; then
    echo "cut $k of the $what: it never started"
    failures=$((failures + 1))
  elif [ "$placed" = ended ]; then
    echo "cut $k of the $what: it ended before the cut"
    failures=$((failures + 1))
  elif [ "$placed" -gt "$files" ]; then
    echo "cut $k of the $what after its last file"
  elif [ "$what" = upgrade ]; then
    echo "cut $k of the upgrade with $placed of $((files + 1)) files replaced"
  else
    echo "cut $k of the installation with $placed of $((files + 1)) files in place"
  fi
}
for k in $(seq "$cuts"); do cut_power installation "$k" "$cuts"; done
for k in $(seq "$upgrades"); do cut_power upgrade "$k" "$upgrades"; done
out=$(run final) || failures=$((failures + 1))
echo "$out" | grep -E '^(the last cut left|FAILED)' | sed 's/^/  /' || true
echo "power cuts: $cuts during the installation of $files files, $upgrades during its upgrade; $failures failed"
[ "$failures" -eq 0 ]
