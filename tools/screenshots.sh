#!/usr/bin/env bash
# Builds the program and the screenshot driver, runs them under Wine (on a private Xvfb unless a
# display is set) and writes docs/panel.png, docs/settings.png and docs/report.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tools/setup.sh

if /usr/lib/wine/wine --version >/dev/null 2>&1; then arch=win32; else arch=win64
  echo "screenshots.sh: this machine runs no 32-bit code; the pictures are of the 64-bit build"
fi
cmake --preset "$arch" >/dev/null
cmake --build "build/$arch" -j2 --target shots >/dev/null

source tools/xvfb.sh
prefix=$root/build/$arch/wineprefix
tools/wineprefix.sh "$prefix"
run=$(mktemp -d)
cleanup() {
  [ -z "${own_server:-}" ] || WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$run"
  kill ${xvfb_pid:-} 2>/dev/null || true
}
trap cleanup EXIT
# A wineserver already serving the prefix belongs to another session and is left alone.
WINEPREFIX="$prefix" /usr/lib/wine/wineserver -p 2>/dev/null && own_server=1

cp "build/$arch/Ventora.exe" "build/$arch/netsh.exe" "$run/"
(cd "$run" && "$root/tools/wine.sh" "$prefix" "$root/build/$arch/tests/win/shots.exe")
mkdir -p docs
for shot in panel settings report; do
  convert "$run/$shot.bmp" "docs/$shot.png"
  echo "docs/$shot.png"
done
