#!/usr/bin/env bash
# The device table as a technician's system keeps it: dpkg installs the
# package into a private root, the technician lists a device, installing the
# package again keeps that table, removing the package keeps it too (only
# purging removes it), as a configuration file should be treated.
#
#   deb-conffile.sh PACKAGE.deb
set -uo pipefail
deb=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status"
export PATH=$PATH:/usr/sbin:/sbin
# The root holds no libraries: the dependencies are not looked at here.
dpkg_root() { dpkg --root="$root" --force-not-root --force-depends --log=/dev/null "$@" >"$root/dpkg.log" 2>&1 ||
  { cat "$root/dpkg.log"; echo "FAIL: dpkg $*"; exit 1; }; }
table=$root/etc/trelox/devices
status=0

dpkg_root -i "$deb"
[ -x "$root/usr/bin/trelox" ] && [ -f "$table" ] || { echo "FAIL: not installed"; exit 1; }
echo '1234:5678' >>"$table"
dpkg_root -i "$deb"
[ "$(tail -n 1 "$table")" = 1234:5678 ] || { echo "FAIL: installing again replaced the edited table"; status=1; }
dpkg_root -r trelox
[ ! -e "$root/usr/bin/trelox" ] || { echo "FAIL: removing left the program"; status=1; }
[ "$(tail -n 1 "$table" 2>/dev/null)" = 1234:5678 ] || { echo "FAIL: removing took the edited table"; status=1; }
dpkg_root -P trelox
[ ! -e "$table" ] || { echo "FAIL: purging left the table"; status=1; }
[ $status -eq 0 ] && echo "the edited table outlived reinstalling and removing; purging removed it"
exit $status
