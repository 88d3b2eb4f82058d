#!/usr/bin/env bash
# The packaged programs as they come out of the package, unpacked into a
# temporary root: the unpacked trelox-devsim plays the device, the unpacked
# trelox programs the packaged sample flash file into it to exit status 0,
# and trelox --version names the package's version.
#
#   deb-unpacked-download.sh PACKAGE.deb VERSION
set -uo pipefail
deb=$1 version=$2
source "$(dirname "$0")/../../scripts/lib/private-bus.sh"
private_bus deb
root=$work/root
dpkg-deb -x "$deb" "$root" || exit 1
bin=$root/usr/bin
status=0

reported=$("$bin/trelox" --version)
[ "$reported" = "trelox $version" ] || { echo "FAIL: --version says '$reported', the package $version"; status=1; }

start_devsim "$bin/trelox-devsim" --log="$work/devsim.log" --leave-delay=300 --program-time=300
[ -e "$work/ready" ] || { echo "FAIL: the unpacked trelox-devsim did not get ready"; cat "$work/devsim.log"; exit 1; }
timeout 60 "$bin/trelox" "$root/usr/share/doc/trelox/firmware.s19" </dev/null >"$work/trelox.out" 2>&1
rc=$?
cat "$work/trelox.out"
[ $rc -eq 0 ] || { echo "FAIL: the unpacked trelox ended with $rc"; status=1; }
grep -q 'programming-report' "$work/devsim.log" || { echo "FAIL: the device saw no programming"; status=1; }
[ $status -eq 0 ] && echo "the unpacked programs downloaded the sample to exit status 0"
exit $status
