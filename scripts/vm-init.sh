#!/bin/sh
# The emulated machine's start (scripts/vm.sh), run by its PID 1 once the job folder is
# mounted at /job: mounts the rest, runs the job and powers the machine off. The job's output
# and exit status go back through the job folder.
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
export HOME=/root LANG=C.UTF-8 TERM=dumb
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /run
mount -t tmpfs tmpfs /tmp
hostname setup-vm
share() { mkdir -p "$2" && mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000,cache=loose "$1" "$2"; }
# The checkout is mounted at its path on the host, so that paths compiled into the test
# programs hold here too.
src=$(cat /job/src 2>/dev/null)
[ -n "$src" ] && share src "$src"

cd "${src:-/}"
/bin/bash /job/job.sh >/job/output 2>&1 </dev/null
echo $? >/job/status
sync
[ -n "$src" ] && umount "$src"
echo o >/proc/sysrq-trigger
sleep 60
