#!/usr/bin/env bash
# The emulated machine that runs the shipped 32-bit programs where this machine's kernel runs
# no 32-bit code: Debian's own amd64 kernel and a root file system made from Debian's packages
# (amd64 with i386 multiarch, 32-bit Wine, Xvfb, ctest), booted with qemu-system-x86_64.
#
#   bash scripts/vm.sh image          makes the machine once; prints the folder it lies in
#   bash scripts/vm.sh run COMMAND    runs COMMAND with bash inside, in the checkout, which is
#                                     shared at its own path; prints its output as it comes and
#                                     exits with its status (99: the machine did not finish)
#
# The machine is cached outside the source tree ($SETUP_VM_CACHE, else ~/.cache/setup-vm)
# under a name made from this recipe, so a changed recipe makes a new one. Every run boots a
# copy-on-write view of it: nothing a job does inside is kept, the shared checkout aside.
# SETUP_VM_DISK2 names a raw image that the machine gets as a second disk (/dev/vdb), written
# through to the image file on each of the guest's flushes (scripts/power-cut.sh cuts the
# machine's power and looks at what the disk kept).
# SETUP_VM_ACCEL=kvm uses KVM instead of emulating the processor (TCG), SETUP_VM_CPUS sets
# the virtual processors (default 1: two emulated processors in one machine ran the tests
# slower than one, so the test command runs one machine per host core instead), and
# SETUP_VM_TIMEOUT (seconds, default 3600) bounds a run.
set -euo pipefail
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ROOT=$(cd "$HERE/.." && pwd)
CACHE=${SETUP_VM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/setup-vm}
MIRROR=${SETUP_VM_MIRROR:-http://deb.debian.org/debian}
GUEST_PACKAGES="wine wine32:i386 xvfb xdotool x11-utils imagemagick fonts-liberation fonts-dejavu-core fonts-wine cmake
libzip4 openssl osslsigncode locales"   # the last three: the native toolkit, to sign in a Wine test
# The Wine prefix made once in the image; every run starts from it unchanged.
GUEST_PREFIX=/root/wineprefix-win32

log() { echo "vm: $*" >&2; }

# What the machine is made from: the steps below, the packages, the mirror and the prefix's
# scripts. The rest of this file (how a job runs) may change without a new machine.
recipe_id() {
  { declare -f build_image accelerator; echo "$GUEST_PACKAGES $MIRROR $GUEST_PREFIX"
    cat "$HERE/wine-prefix.sh" "$HERE/wine-env.sh"; } | sha256sum | cut -c1-16
}

# TCG unless asked for: a /dev/kvm may be there and still hang a nested guest.
accelerator() {
  if [ "${SETUP_VM_ACCEL:-tcg}" = kvm ]; then
    echo "-accel kvm -cpu host"
  else
    # Without SMAP: QEMU 7.2's emulated "iret" back to 32-bit code faults under it, and
    # every 32-bit program dies.
    echo "-accel tcg,thread=multi,tb-size=1024 -cpu ${SETUP_VM_CPU:-max,smap=off}"
  fi
}

# boot IMAGE_DIR JOB_DIR SRC_DIR WRITABLE: one boot that runs JOB_DIR/job.sh; the status lands
# in JOB_DIR/status, the output in JOB_DIR/output (shown as it grows).
boot() {
  local image=$1 job=$2 src=$3 writable=$4 drive shares=()
  drive="file=$image/disk.img,format=raw,if=virtio,cache=unsafe"
  [ "$writable" = yes ] || drive="$drive,snapshot=on"
  local disks=(-drive "$drive")
  [ -z "${SETUP_VM_DISK2:-}" ] || disks+=(-drive "file=$SETUP_VM_DISK2,format=raw,if=virtio,cache=writeback")
  shares+=(-virtfs "local,path=$job,mount_tag=job,security_model=none,multidevs=remap")
  if [ -n "$src" ]; then
    echo "$src" >"$job/src"
    shares+=(-virtfs "local,path=$src,mount_tag=src,security_model=none,multidevs=remap")
  fi
  : >"$job/output"
  # shellcheck disable=SC2046
  timeout --foreground -k 10 "${SETUP_VM_TIMEOUT:-3600}" qemu-system-x86_64 \
    -machine q35 $(accelerator) -smp "${SETUP_VM_CPUS:-1}" -m 6144 \
    -kernel "$image/vmlinuz" -initrd "$image/initrd.img" \
    -append "root=/dev/vda rw init=/sbin/setup-vm-init console=ttyS0 quiet panic=-1" \
    "${disks[@]}" "${shares[@]}" -nic none -display none -monitor none \
    -serial "file:$job/console.log" -no-reboot </dev/null &
  local qemu=$!
  tail -n +1 -F --pid=$qemu "$job/output" 2>/dev/null || true
  wait $qemu || true
}

# One job: its status, or 99 (and the machine's console) when it did not finish.
run_job() {
  local image=$1 src=$2 command=$3 job status
  job=$(mktemp -d "${TMPDIR:-/tmp}/setup-vm-job.XXXXXX")
  printf 'set -o pipefail\n%s\n' "$command" >"$job/job.sh"
  cp "$HERE/vm-init.sh" "$job/init.sh"
  boot "$image" "$job" "$src" "${4:-no}"
  if [ -s "$job/status" ]; then
    status=$(cat "$job/status")
  else
    status=99
    log "the machine ended without the job's status; its console's last lines:"
    tail -n 30 "$job/console.log" >&2 || true
  fi
  rm -rf "$job"
  return "$status"
}

build_image() {
  local dir=$1 root=$1/root
  umount "$root/proc" 2>/dev/null || true   # left by an interrupted attempt
  rm -rf "$dir" && mkdir -p "$dir"
  log "making the machine's root file system from $MIRROR (once; a few minutes)"
  debootstrap --variant=minbase --arch=amd64 --include=linux-image-amd64,kmod,procps,initramfs-tools \
    bookworm "$root" "$MIRROR" >"$dir/debootstrap.log" 2>&1 ||
    { tail -n 30 "$dir/debootstrap.log" >&2; return 1; }
  printf 'deb %s bookworm main\ndeb %s bookworm-updates main\n' "$MIRROR" "$MIRROR" >"$root/etc/apt/sources.list"
  mount -t proc proc "$root/proc"
  local ok=yes
  {
    chroot "$root" dpkg --add-architecture i386 &&
      chroot "$root" apt-get update -q &&
      DEBIAN_FRONTEND=noninteractive chroot "$root" apt-get install -y -q --no-install-recommends $GUEST_PACKAGES &&
      chroot "$root" apt-get clean
  } >"$dir/packages.log" 2>&1 || ok=no
  umount "$root/proc"
  [ "$ok" = yes ] || { tail -n 30 "$dir/packages.log" >&2; return 1; }
  # PID 1 mounts the job folder and hands over to the init script the job brings along.
  cat >"$root/sbin/setup-vm-init" <<'INIT'
#!/bin/sh
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
modprobe 9pnet_virtio
modprobe 9p
mkdir -p /job
mount -t 9p -o trans=virtio,version=9p2000.L,msize=1048576 job /job
exec /bin/sh /job/init.sh
INIT
  chmod 755 "$root/sbin/setup-vm-init"
  mkdir -p "$root/opt/setup-vm"
  cp "$HERE/wine-prefix.sh" "$HERE/wine-env.sh" "$root/opt/setup-vm/"
  cp "$root"/boot/vmlinuz-* "$dir/vmlinuz"
  cp "$root"/boot/initrd.img-* "$dir/initrd.img"
  mkfs.ext4 -q -F -L setup-vm -d "$root" "$dir/disk.img" 8G
  rm -rf "$root"

  log "first boot: finishing the packages and making the Wine prefix (once)"
  run_job "$dir" "" "
    dpkg --configure -a
    WINEPREFIX=$GUEST_PREFIX SETUP_WINE_ARCH=win32 bash /opt/setup-vm/wine-prefix.sh
    test -f $GUEST_PREFIX/drive_c/windows/system32/kernel32.dll" yes || { log "the first boot failed"; return 1; }
  touch "$dir/ready"
}

image() {
  local id dir
  id=$(recipe_id)
  dir=$CACHE/$id
  mkdir -p "$CACHE"
  exec 9>"$CACHE/lock"
  flock 9
  if [ ! -f "$dir/ready" ]; then
    local started=$SECONDS
    build_image "$dir" >&2 || { log "making the machine failed; its logs are in $dir"; return 1; }
    log "machine ready in $((SECONDS - started)) s: $dir"
    # Older recipes' machines are of no further use.
    find "$CACHE" -mindepth 1 -maxdepth 1 -type d ! -name "$id" -exec rm -rf {} +
  fi
  flock -u 9
  echo "$dir"
}

case "${1:-}" in
  image) image ;;
  run)
    [ $# -ge 2 ] || { echo "usage: vm.sh run COMMAND" >&2; exit 2; }
    dir=$(image)
    # The test driver's time bounds stretch by this factor: an emulated processor runs the
    # programs several times slower than the host's own.
    slowness=5
    [ "${SETUP_VM_ACCEL:-tcg}" = kvm ] && slowness=1
    run_job "$dir" "$ROOT" "export SETUP_IN_VM=1 WINEPREFIX=$GUEST_PREFIX SETUP_WINE_ARCH=win32
export SETUP_TEST_SLOWNESS=${SETUP_TEST_SLOWNESS:-$slowness}
$2"
    ;;
  *) echo "usage: vm.sh image | run COMMAND" >&2; exit 2 ;;
esac
