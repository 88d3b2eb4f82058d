#!/usr/bin/env bash
# Takes the pictures of the Windows setup program's wizard on a German
# system for docs/: the setup made from the mingw build, worked by the
# installer's tests under Wine with a German locale, its pages saved as
# they stand (welcome, folder, start-menu folder, finish, the welcome page
# of a second run over the installed copy, the uninstaller's confirmation)
# and written as PNG files to docs/setup-*.png.
#
#   scripts/wine/setup-screenshots.sh [BUILD_DIR]     (default: build/mingw)
#
# Needs the Windows build (cmake --preset mingw && cmake --build --preset
# mingw), the German locale (scripts/setup.sh) and ImageMagick's convert.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/mingw}
tests="$build/tests/release/trelox_installer_tests.exe"
. "$root/scripts/lib/screenshots.sh"
screenshots_need setup-screenshots "$tests"

work=$(mktemp -d "${TMPDIR:-/tmp}/trelox-setup-shots.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$root/tests/release/make-release-files.sh" cpack "$build/CPackConfig.cmake" "$work/release" NSIS >/dev/null
mkdir -p "$work/shots"
LC_ALL=de_DE.UTF-8 TRELOX_SETUP_EXE=$(ls "$work"/release/*-setup.exe) TRELOX_SCREENSHOT_DIR="$work/shots" \
  "$root/scripts/wine/run-tests.sh" "$tests" -- --gtest_filter='SetupWizardGerman.*'

screenshots_save setup-screenshots "$work/shots" "$root/docs" setup-welcome setup-folder setup-start-menu \
  setup-finish setup-welcome-again uninstall-confirm
