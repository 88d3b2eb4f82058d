#!/usr/bin/env bash
# The Debian package's contents and control fields: every file where a
# technician's system looks for it and nothing else, the programs executable,
# the device table a configuration file, the libraries the binaries need as
# dependencies, and the one version in the file name, the fields, the
# changelog and the manual pages.
#
#   deb-contents.sh PACKAGE.deb VERSION
set -uo pipefail
deb=$1 version=$2
status=0
fail() { echo "FAIL: $*"; status=1; }

expected_files='./etc/trelox/devices
./usr/bin/trelox
./usr/bin/trelox-devsim
./usr/lib/udev/rules.d/70-trelox.rules
./usr/share/doc/trelox/README.md
./usr/share/doc/trelox/changelog.gz
./usr/share/doc/trelox/copyright
./usr/share/doc/trelox/docs/main-dialog.png
./usr/share/doc/trelox/docs/progress-window.png
./usr/share/doc/trelox/docs/setup-finish.png
./usr/share/doc/trelox/docs/setup-folder.png
./usr/share/doc/trelox/docs/setup-start-menu.png
./usr/share/doc/trelox/docs/setup-welcome-again.png
./usr/share/doc/trelox/docs/setup-welcome.png
./usr/share/doc/trelox/docs/status-window.png
./usr/share/doc/trelox/docs/uninstall-confirm.png
./usr/share/doc/trelox/firmware.s19
./usr/share/man/man1/trelox-devsim.1.gz
./usr/share/man/man1/trelox.1.gz'
listing=$(dpkg-deb -c "$deb") || { echo "FAIL: not a Debian package: $deb"; exit 1; }
files=$(awk '$1 !~ /^d/ {print $6}' <<<"$listing" | sort)
if [ "$files" != "$(sort <<<"$expected_files")" ]; then
  fail "the files differ from the expected ones (<) in the package (>):"
  diff <(sort <<<"$expected_files") <(echo "$files")
fi
while read -r mode owner _ _ _ path _; do
  case $path in
    */) want=drwxr-xr-x ;;
    ./usr/bin/*) want=-rwxr-xr-x ;;
    *) want=-rw-r--r-- ;;
  esac
  [ "$mode" = "$want" ] || fail "$path has mode $mode, not $want"
  [ "$owner" = root/root ] || fail "$path belongs to $owner"
done <<<"$listing"

[ "$(basename "$deb")" = "trelox_${version}_amd64.deb" ] || fail "file name $(basename "$deb")"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = trelox ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), not $version"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = electronics ] || fail "Section: $(field Section)"
# Compared on whole texts: with pipefail, "grep -q" ending a pipe early would
# fail the writer now and then.
depends=$(field Depends)
depended=$(sed -E 's/ \([^)]*\)//g; s/, /\n/g' <<<"$depends")
for library in libc6 libstdc++6 libncursesw6 libusb-1.0-0; do
  grep -qxF "$library" <<<"$depended" || fail "Depends lacks $library: $depends"
done
description=$(field Description)
grep -q 'firmware' <<<"$description" || fail "the description says nothing of firmware"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
dpkg-deb -e "$deb" "$root/DEBIAN"
[ "$(cat "$root/DEBIAN/conffiles" 2>/dev/null)" = /etc/trelox/devices ] || fail "conffiles: $(cat "$root/DEBIAN/conffiles" 2>&1)"
# Installed, the table and the rule do nothing until a technician lists a device.
grep -vE '^[[:space:]]*(#|$)' "$root/etc/trelox/devices" && fail "the example table lists a device"
grep -vE '^[[:space:]]*(#|$)' "$root/usr/lib/udev/rules.d/70-trelox.rules" && fail "the rule template grants access"
newest=$(zcat "$root/usr/share/doc/trelox/changelog.gz" | head -n 1)
[[ $newest == "trelox ($version) "* ]] || fail "the changelog's newest entry is not $version: $newest"
for page in trelox trelox-devsim; do
  title=$(zcat "$root/usr/share/man/man1/$page.1.gz" | grep -m1 '^\.TH')
  [[ $title == *"\"Trelox $version\""* ]] || fail "$page.1 names another version: $title"
done
# The installed README links only to what is beside it (or to the web):
# a link into the source tree would lead a technician nowhere.
while read -r target; do
  case $target in http://* | https://* | '#'*) continue ;; esac
  [ -e "$root/usr/share/doc/trelox/${target%%#*}" ] || fail "the installed README links to $target, which the package lacks"
done < <(grep -oE '\]\([^)]+\)' "$root/usr/share/doc/trelox/README.md" | sed -E 's/^\]\((.*)\)$/\1/')
[ $status -eq 0 ] && echo "package contents and fields as expected"
exit $status
