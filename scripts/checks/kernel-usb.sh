#!/usr/bin/env bash
# Linux's own USB stack: boots Debian's kernel (the package scripts/setup.sh
# fetched into its cache) in qemu, the machine's root shared read-only under
# a tmpfs overlay, so that the guest runs the programs just built. Inside,
# trelox-devsim --gadget plays the devices on dummy_hcd's two controllers and
# trelox (the build's, and the .deb's installed with dpkg -i) programs them
# through usbfs, udev and libusb as on a technician's machine. One boot, the
# cases of scripts/lib/kernel-usb-guest.sh, each printed PASS or FAIL; their
# counts go to the file $TRELOX_CHECK_COUNTS names, for the test command's
# closing line. Fails (never skips) when qemu or the kernel is missing.
# TRELOX_BUILD_DIR names the native build (build/default); TRELOX_KERNEL_CACHE
# the kernel cache (/var/cache/trelox-test); TRELOX_KERNEL_ACCEL=tcg or kvm
# skips the probe of whether KVM works; TRELOX_KERNEL_CASES names the cases to
# run (all by default; "bench" runs TRELOX_KERNEL_BENCH for scripts/bench.sh);
# TRELOX_KERNEL_KEEP keeps the work folder with every log.
set -uo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
build=$(realpath -m "${TRELOX_BUILD_DIR:-build/default}")
cache=${TRELOX_KERNEL_CACHE:-/var/cache/trelox-test}
started=$(date +%s)

fail() {  # the check cannot run: the step fails (counted once by the test command)
  echo "kernel-usb: $*"
  exit 1
}

kernel=$(ls -d "$cache"/linux-image-*/boot/vmlinuz-* 2>/dev/null | sort -V | tail -n 1)
[ -f "$(dirname "$(dirname "$kernel")")/.complete" ] || kernel=""
[ -n "$kernel" ] || fail "no kernel in $cache (scripts/setup.sh fetches it)"
modules=$(ls -d "$(dirname "$(dirname "$kernel")")"/lib/modules/*/kernel | tail -n 1)
command -v qemu-system-x86_64 >/dev/null || fail "qemu-system-x86_64 is missing (scripts/setup.sh installs it)"
busybox=$(command -v busybox) || fail "busybox is missing (scripts/setup.sh installs busybox-static)"
case "$root$build" in *[[:space:]]*) fail "the paths may hold no blanks: $root, $build" ;; esac

if [ ! -x "$build/src/trelox" ] || [ ! -x "$build/tools/devsim/trelox-devsim" ]; then
  cmake --preset default >/dev/null && cmake --build --preset default -j "${TRELOX_JOBS:-2}" \
    --target trelox trelox-devsim >/dev/null || fail "cannot build trelox"
fi
work=$(mktemp -d "$build/kernel-usb.XXXXXX") || fail "cannot make a work folder in $build"
[ -n "${TRELOX_KERNEL_KEEP:-}" ] || trap 'rm -rf "$work"' EXIT
mkdir -p "$work/out" "$work/initrd/bin" "$work/initrd/modules" "$work/initrd/proc" "$work/initrd/sys" "$work/initrd/dev"

# The .deb of this build: the release tests' when it is newer than the
# program, else made here the same way.
deb=$(ls "$build"/release-test/trelox_*_amd64.deb 2>/dev/null | head -n 1)
if [[ "${TRELOX_KERNEL_CASES:-package}" == *package* ]] && { [ -z "$deb" ] || [ "$deb" -ot "$build/src/trelox" ]; }; then
  tests/release/make-release-files.sh cpack "$build/CPackConfig.cmake" "$work/deb" DEB >/dev/null 2>&1 ||
    fail "cannot make the .deb with cpack"
  deb=$(ls "$work"/deb/trelox_*_amd64.deb | head -n 1)
fi

# The initramfs: busybox, the modules in an order that satisfies their
# dependencies (the package has no modules.dep), and /init.
cp "$busybox" "$work/initrd/bin/busybox"
cp scripts/lib/kernel-usb-init.sh "$work/initrd/init"
chmod 755 "$work/initrd/init"
for entry in virtio_ring virtio virtio_pci_modern_dev virtio_pci_legacy_dev virtio_pci 9pnet 9pnet_virtio \
  netfs fscache 9p overlay configfs usb-common usbcore udc-core libcomposite usb_f_fs "dummy_hcd num=2"; do
  name=${entry%% *}
  file=$(find "$modules" -name "$name.ko" | head -n 1)
  [ -n "$file" ] || fail "the kernel package has no module $name"
  cp "$file" "$work/initrd/modules/"
  echo "$entry" >>"$work/initrd/modules/order"
done
(cd "$work/initrd" && find . | busybox cpio -o -H newc 2>/dev/null | gzip -1 >"$work/initrd.gz") ||
  fail "cannot pack the initramfs"

{
  echo "TRELOX=$build/src/trelox"
  echo "DEVSIM=$build/tools/devsim/trelox-devsim"
  echo "DEB=$deb"
  echo "FIRMWARE=$root/tools/devsim/sample/firmware.s19"
  echo "RULES_TEMPLATE=$root/dist/linux/70-trelox.rules"
  [ -n "${TRELOX_KERNEL_CASES:-}" ] && echo "CASES='$TRELOX_KERNEL_CASES'"
  [ -n "${TRELOX_KERNEL_BENCH:-}" ] && echo "BENCH=$TRELOX_KERNEL_BENCH"
} >"$work/out/env"

qemu=(qemu-system-x86_64 -m 1024 -smp 1 -nographic -no-reboot -kernel "$kernel" -initrd "$work/initrd.gz")
shares=(-virtfs "local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap"
  -virtfs "local,path=$work/out,mount_tag=out,security_model=none,multidevs=remap")
append="console=ttyS0 loglevel=3 panic=-1"

# KVM hung before the kernel printed anything on some machines: it is used
# only when a boot of a few seconds with it reaches /init.
accel=${TRELOX_KERNEL_ACCEL:-}
if [ -z "$accel" ]; then
  accel=tcg
  if [ -r /dev/kvm ] && [ -w /dev/kvm ] &&
    timeout -s KILL 10 "${qemu[@]}" -accel kvm -append "$append trelox.probe" 2>/dev/null </dev/null |
    grep -q trelox-probe-booted; then
    accel=kvm
  fi
fi
echo "kernel-usb: $(basename "$kernel") under qemu ($accel)"

boot=$(date +%s)
timeout -s KILL 280 "${qemu[@]}" -accel "$accel" "${shares[@]}" \
  -append "$append trelox.guest=$root/scripts/lib/kernel-usb-guest.sh" </dev/null >"$work/console.log" 2>&1
rc=$?
results="$work/out/results"
touch "$results"
cat "$results"
passed=$(grep -c '^PASS ' "$results")
failed=$(grep -c '^FAIL ' "$results")
if ! grep -q '^END$' "$results"; then
  echo "kernel-usb: the guest did not finish (qemu status $rc); its console:"
  tail -n 40 "$work/console.log"
  failed=$((failed + 1))
fi
if [ "$failed" -gt 0 ]; then
  for log in "$work"/out/*.log; do
    [ -f "$log" ] && { echo "--- $(basename "$log")"; tail -n 25 "$log"; }
  done
fi
echo "kernel-usb: $passed passed, $failed failed; boot and cases $(( $(date +%s) - boot )) s," \
  "the whole check $(( $(date +%s) - started )) s"
[ -n "${TRELOX_CHECK_COUNTS:-}" ] && echo "$passed passed, $failed failed" >"$TRELOX_CHECK_COUNTS"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
