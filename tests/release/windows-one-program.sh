#!/usr/bin/env bash
# One Trelox.exe in a Windows release: the setup program and the zip carry
# the build's own, byte for byte (compared by SHA-256).
#
#   windows-one-program.sh BUILD_EXE SETUP_EXE ZIP
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib/windows-program.sh"
[ $# -eq 3 ] || { echo "usage: $0 BUILD_EXE SETUP_EXE ZIP" >&2; exit 2; }
command -v 7z >/dev/null || { echo "7z is not installed (scripts/setup.sh)" >&2; exit 2; }
hash=$(windows_program_sha256 "$1" "$2" "$3") || exit 1
echo "one Trelox.exe in the build, the setup program and the zip: SHA-256 $hash"
