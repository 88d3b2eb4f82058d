#!/bin/busybox sh
# /init of the initramfs that scripts/checks/kernel-usb.sh makes: loads the
# kernel's modules (they are in the initramfs: the shared root has none for
# this kernel), makes the machine's root, shared read-only over 9p, the new
# root under a tmpfs overlay, mounts the results share and hands over to the
# guest script named on the kernel command line (trelox.guest=PATH).
/bin/busybox --install -s /bin
export PATH=/bin
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
while read -r module parameters; do
  insmod "/modules/$module.ko" $parameters || echo "init: insmod $module failed"
done </modules/order
# Read before /proc moves to the new root.
guest=$(tr ' ' '\n' </proc/cmdline | sed -n 's/^trelox\.guest=//p')
probe=$(tr ' ' '\n' </proc/cmdline | grep -c '^trelox\.probe$')
if [ "$probe" -gt 0 ]; then
  echo "trelox-probe-booted"
  echo o >/proc/sysrq-trigger
  sleep 10
fi
mkdir -p /lower /rw /newroot
mount -t 9p -o trans=virtio,version=9p2000.L,ro,msize=512000 hostroot /lower || echo "init: no root share"
mount -t tmpfs -o size=600m tmpfs /rw
mkdir -p /rw/upper /rw/work
mount -t overlay overlay -o lowerdir=/lower,upperdir=/rw/upper,workdir=/rw/work /newroot || echo "init: no overlay"
mkdir -p /newroot/mnt/out
mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000 out /newroot/mnt/out || echo "init: no results share"
mount --move /proc /newroot/proc
mount --move /sys /newroot/sys
mount --move /dev /newroot/dev
exec switch_root /newroot /bin/bash "$guest"
