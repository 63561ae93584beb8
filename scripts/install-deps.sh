#!/usr/bin/env bash
# Installs every system package the build, the tests and the demo need. Safe to run again.
set -euo pipefail

packages=(
  cmake make g++ clang llvm lld clang-format
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest
  wine wine64 wine32:i386
  xvfb x11-utils xdotool imagemagick
  fonts-liberation fonts-dejavu-core fonts-wine   # fonts-wine: the caption buttons
  valgrind bc libxml2-utils   # xmllint: the manifest check
  locales   # a Greek and a Polish code page for Wine (scripts/wine-prefix.sh)
  libzip-dev libssl-dev osslsigncode openssl unzip   # the toolkit: archives, digests, signing
  qemu-system-x86 debootstrap e2fsprogs   # the emulated machine for the 32-bit files
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
