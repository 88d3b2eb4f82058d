#!/usr/bin/env bash
# Takes the README's pictures of Trelox.exe under Wine on a virtual display:
# the main dialog after its identity queries, and the main dialog with the
# progress window over it in the middle of a download and with the status
# window over it while the device programs itself. They come out of the
# end-to-end run against the simulated device (slowed down, so that the
# progress window stands long enough) and are written as PNG files to docs/.
#
#   scripts/wine/screenshots.sh [BUILD_DIR]     (default: build/mingw)
#
# Needs the Windows build (cmake --preset mingw && cmake --build --preset
# mingw) and ImageMagick's convert.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/mingw}
tests="$build/tests/win32/trelox_e2e_tests.exe"
. "$root/scripts/lib/screenshots.sh"
screenshots_need screenshots "$tests"

shots=$(mktemp -d "${TMPDIR:-/tmp}/trelox-shots.XXXXXX")
trap 'rm -rf "$shots"' EXIT
export TRELOX_SCREENSHOT_DIR="$shots"
export TRELOX_DEVICE_ACK_DELAY_MS=400
"$root/scripts/wine/run-e2e.sh" "$tests" -- \
  --gtest_filter='EndToEndTest.IdentityQueries*:EndToEndTest.WindowsOpenOverTheMainDialog*'

screenshots_save screenshots "$shots" "$root/docs" main-dialog progress-window status-window
