# shellcheck shell=bash
# The one Trelox.exe of a Windows release: the build's, the one in the setup
# program (7-Zip reads NSIS setup programs) and the one in the zip must be
# the same bytes, so that a hash check or an allow-list sees one build.
#
#   windows_program_sha256 BUILD_EXE SETUP_EXE ZIP
#
# Prints the SHA-256 of the three, or says on standard error which copy
# differs (a missing copy differs too) and returns 1.
windows_program_sha256() {
  local build setup zip
  build=$(sha256sum <"$1" | cut -d' ' -f1)
  setup=$(7z e -so "$2" Trelox.exe 2>/dev/null | sha256sum | cut -d' ' -f1)
  zip=$(unzip -p "$3" '*/Trelox.exe' 2>/dev/null | sha256sum | cut -d' ' -f1)
  if [ "$setup" != "$build" ] || [ "$zip" != "$build" ]; then
    echo "Trelox.exe differs: build $build, setup program $setup, zip $zip" >&2
    return 1
  fi
  echo "$build"
}
