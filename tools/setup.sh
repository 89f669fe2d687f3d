#!/usr/bin/env bash
# Installs what the build, the demo and the tests need on Debian 12; quick when all is there.
set -euo pipefail

need=(cmake make g++ googletest clang llvm libclang-rt-14-dev
      g++-mingw-w64-i686-posix binutils-mingw-w64-i686
      g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
      wine wine32:i386 wine64 xvfb xauth x11-utils imagemagick fonts-wqy-microhei zip python3
      locales)

missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
have_locale() { locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; }
[ ${#missing[@]} -eq 0 ] && have_locale && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine converts the Linux side's texts through this locale; its ANSI code page then is 936.
if ! have_locale; then
  $SUDO sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  $SUDO locale-gen >/dev/null
fi
