#!/usr/bin/env bash
# Builds the release files of this version into one folder and prints their
# names and sizes: the Debian package (native build), the Windows setup
# program and the zip (MinGW build), and the SHA-256 of the one Trelox.exe
# that the setup program, the zip and the build all hold (it fails when they
# do not). RELEASE_DIR names the folder (default build/release-files); files
# of the same names there are replaced, others kept.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/windows-program.sh
jobs=${TRELOX_JOBS:-2}
out=${RELEASE_DIR:-build/release-files}
mkdir -p "$out"
out=$(cd "$out" && pwd)

# release_files PRESET GENERATORS TARGETS...: builds what the install rules
# take, then lets CPack make that build's files.
release_files() {
  local preset=$1 generators=$2
  shift 2
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs" --target "$@"
  (cd "build/$preset" && cpack -G "$generators" -B "$out")
}
release_files default DEB trelox trelox-devsim trelox_install_files
release_files mingw "NSIS;ZIP" trelox trelox_setup_pictures
rm -rf "$out/_CPack_Packages"

version=$(sed -nE 's/^project\(Trelox VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
echo "release files of Trelox $version in $out:"
for file in "trelox_${version}_amd64.deb" "Trelox-$version-setup.exe" "Trelox-$version-win64.zip"; do
  [ -f "$out/$file" ] || { echo "missing: $file" >&2; exit 1; }
  printf '  %-28s %9d bytes\n' "$file" "$(stat -c %s "$out/$file")"
done
hash=$(windows_program_sha256 build/mingw/src/Trelox.exe "$out/Trelox-$version-setup.exe" \
  "$out/Trelox-$version-win64.zip")
echo "Trelox.exe in the setup program, the zip and build/mingw: SHA-256 $hash"
