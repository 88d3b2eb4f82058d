#!/usr/bin/env bash
# The release files of one build made afresh into a folder, as the tests of
# those files want them: nothing left there from an earlier run.
#
#   make-release-files.sh CPACK CPACK_CONFIG OUTPUT_DIR GENERATOR...
set -euo pipefail
cpack=$1 config=$2 out=$3
shift 3
rm -rf "$out"
mkdir -p "$out"
generators=$(IFS=';'; echo "$*")
"$cpack" --config "$config" -G "$generators" -B "$out"
rm -rf "$out/_CPack_Packages"
ls -l "$out"
