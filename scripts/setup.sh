#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test both builds,
# the German locale that the tests of the Windows setup program use, and
# fetches Debian's kernel for the test of Linux's own USB stack.
set -euo pipefail
packages=(
  build-essential cmake ninja-build git python3
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libncurses-dev tmux procps
  pkg-config libusb-1.0-0-dev umockdev libumockdev-dev
  clang clang-tidy cppcheck valgrind libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 xvfb xauth x11-utils imagemagick
  dpkg-dev lintian mandoc nsis unzip p7zip-full locales
  qemu-system-x86 busybox-static udev usbutils
)
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "${missing[@]}"
fi
# The setup program's wizard is tested on a German system: Wine takes its
# language from the locale, which must exist.
if ! locale -a | grep -qix 'de_DE.utf8'; then
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
    echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen
fi
echo "setup: all packages present"

# The kernel that scripts/checks/kernel-usb.sh boots in qemu: the versioned
# package linux-image-amd64 depends on, unpacked into a cache folder (never
# installed). A new version replaces the old one.
cache=${TRELOX_KERNEL_CACHE:-/var/cache/trelox-test}
kernel_package() {
  apt-cache depends linux-image-amd64 2>/dev/null | sed -n 's/^ *Depends: \(linux-image-[0-9].*\)$/\1/p' | head -n 1
}
kernel=$(kernel_package)
if [ -z "$kernel" ]; then
  $SUDO apt-get update
  kernel=$(kernel_package)
fi
[ -n "$kernel" ] || { echo "setup: apt knows no package that linux-image-amd64 depends on"; exit 1; }
version=$(apt-cache policy "$kernel" | sed -n 's/^ *Candidate: //p')
folder="$cache/${kernel}_$version"
if [ ! -f "$folder/.complete" ]; then
  download=$(mktemp -d)
  chmod 755 "$download"  # apt's download user writes there
  if ! (cd "$download" && apt-get download "$kernel" >/dev/null 2>&1); then
    $SUDO apt-get update
    (cd "$download" && apt-get download "$kernel")
  fi
  $SUDO mkdir -p "$cache"
  $SUDO rm -rf "$cache"/linux-image-*
  $SUDO dpkg-deb -x "$download"/*.deb "$folder"
  $SUDO touch "$folder/.complete"
  rm -rf "$download"
fi
echo "setup: kernel $kernel $version in $folder"
