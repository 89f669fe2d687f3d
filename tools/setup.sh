#!/usr/bin/env bash
# Installs what the build, the demo and the tests need on Debian 12; quick when all is there.
set -euo pipefail

need=(cmake make g++ googletest clang llvm libclang-rt-14-dev
      g++-mingw-w64-i686-posix binutils-mingw-w64-i686
      wine wine32:i386 xvfb xauth x11-utils imagemagick fonts-wqy-microhei zip python3)

missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
