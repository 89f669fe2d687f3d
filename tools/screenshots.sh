#!/usr/bin/env bash
# Builds the program and the screenshot driver, runs them under Wine (on a private Xvfb unless a
# display is set) and writes docs/panel.png, docs/settings.png and docs/report.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tools/setup.sh

source tools/winesession.sh
arch=$(wine_arch)
cmake --preset "$arch" >/dev/null
cmake --build "build/$arch" -j2 --target shots >/dev/null

wine_session "$root" "$arch"
cp "build/$arch/Ventora.exe" "$run/"
# The prefix's netsh.exe keeps the hosted network's state here.
export VENTORA_NETSH_DIR="Z:${run//\//\\}"
(cd "$run" && "$root/tools/wine.sh" "$prefix" "$root/build/$arch/shots.exe")
mkdir -p docs
for shot in panel settings report; do
  convert "$run/$shot.bmp" "docs/$shot.png"
  echo "docs/$shot.png"
done
