#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test both builds,
# and the German locale that the tests of the Windows setup program use.
set -euo pipefail
packages=(
  build-essential cmake ninja-build git python3
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libncurses-dev tmux procps
  pkg-config libusb-1.0-0-dev umockdev libumockdev-dev
  clang clang-tidy cppcheck valgrind libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 xvfb xauth x11-utils imagemagick
  dpkg-dev lintian mandoc nsis unzip p7zip-full locales
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "${missing[@]}"
fi
# The setup program's wizard is tested on a German system: Wine takes its
# language from the locale, which must exist.
if ! locale -a | grep -qix 'de_DE.utf8'; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
    echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen
fi
echo "setup: all packages present"
