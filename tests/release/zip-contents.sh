#!/usr/bin/env bash
# The zip for those who copy the program: one folder with Trelox.exe and the
# German/English readme, the readme with Windows line ends, a byte order mark
# for the editors of older Windows, and the release's version. The readme is
# the one for a copy unpacked anywhere (not the installed copy's), lists
# every exit status the program has (EXIT_STATUS_HEADER) in both languages,
# and tells scripts to wait for the window program with start /wait.
#
#   zip-contents.sh ARCHIVE.zip VERSION EXIT_STATUS_HEADER
set -uo pipefail
zip=$1 version=$2 statuses=$3
status=0
fail() { echo "FAIL: $*"; status=1; }
folder="Trelox-$version-win64"

[ "$(basename "$zip")" = "$folder.zip" ] || fail "file name $(basename "$zip")"
names=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
[ "$names" = "$folder/README.txt
$folder/Trelox.exe" ] || fail "the zip holds: $names"
readme=$(mktemp)
trap 'rm -f "$readme"' EXIT
unzip -p "$zip" "$folder/README.txt" >"$readme"
[ "$(head -c 3 "$readme" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "the readme has no byte order mark"
lines=$(wc -l <"$readme")
[ "$(grep -c $'\r$' "$readme")" -eq "$lines" ] || fail "not every line of the readme ends in CR LF"
grep -q "^.*Trelox $version"$'\r$' "$readme" || fail "the readme does not name version $version"
grep -q '^Deutsch' "$readme" && grep -q '^English' "$readme" || fail "the readme lacks a language"
grep -q "needs no installation" "$readme" && grep -q "braucht keine Installation" "$readme" ||
  fail "the readme is not the one for an unpacked copy"
grep -q -i "uninstall" "$readme" && grep -q "Trelox-$version-setup.exe" "$readme" ||
  fail "the readme does not point to the setup program for an uninstaller"
! grep -q "Trelox deinstallieren" "$readme" || fail "the readme speaks of the installed copy's shortcuts"
for code in $(sed -nE 's/^ *exit[A-Za-z]+ = ([0-9]+),.*/\1/p' "$statuses"); do
  [ "$(grep -c "^  $code  " "$readme")" -eq 2 ] || fail "exit status $code is not listed in both languages"
done
[ "$(grep -c '^    start "" /wait ' "$readme")" -eq 2 ] || fail "the readme does not show start /wait in both languages"
[ "$(unzip -p "$zip" "$folder/Trelox.exe" | head -c 2)" = MZ ] || fail "Trelox.exe is no program file"
[ $status -eq 0 ] && echo "zip contents as expected"
exit $status
