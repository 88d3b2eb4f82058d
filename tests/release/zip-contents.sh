#!/usr/bin/env bash
# The zip for those who copy the program: one folder with Trelox.exe and the
# German/English readme, the readme with Windows line ends, a byte order mark
# for the editors of older Windows, and the release's version.
#
#   zip-contents.sh ARCHIVE.zip VERSION
set -uo pipefail
zip=$1 version=$2
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
[ "$(unzip -p "$zip" "$folder/Trelox.exe" | head -c 2)" = MZ ] || fail "Trelox.exe is no program file"
[ $status -eq 0 ] && echo "zip contents as expected"
exit $status
