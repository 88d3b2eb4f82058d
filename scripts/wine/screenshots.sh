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
[ -f "$tests" ] || { echo "screenshots: no $tests; build the mingw preset first" >&2; exit 2; }
command -v convert >/dev/null || { echo "screenshots: ImageMagick's convert is not installed" >&2; exit 2; }

shots=$(mktemp -d "${TMPDIR:-/tmp}/trelox-shots.XXXXXX")
trap 'rm -rf "$shots"' EXIT
export TRELOX_SCREENSHOT_DIR="$shots"
export TRELOX_DEVICE_ACK_DELAY_MS=400
"$root/scripts/wine/run-e2e.sh" "$tests" -- \
  --gtest_filter='EndToEndTest.IdentityQueries*:EndToEndTest.WindowsOpenOverTheMainDialog*'

mkdir -p "$root/docs"
for name in main-dialog progress-window status-window; do
  [ -f "$shots/$name.bmp" ] || { echo "screenshots: $name was not taken" >&2; exit 1; }
  convert "$shots/$name.bmp" -strip "$root/docs/$name.png"
  echo "screenshots: docs/$name.png"
done
