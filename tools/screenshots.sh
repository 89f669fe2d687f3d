#!/usr/bin/env bash
# Builds the program and the screenshot driver, runs them under Wine (on a private Xvfb unless a
# display is set) and writes docs/panel.png, docs/settings.png and docs/report.png, then
# docs/panel-utf8.png: the same panel, the hotspot now allowed and started, on code page 65001
# as with Windows' UTF-8 option.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tools/setup.sh

source tools/winesession.sh
demo_folder "$root" "" shots
(cd "$run" && "$root/tools/wine.sh" "$prefix" "$root/build/$arch/shots.exe")
"$root/tools/installnetsh.sh" "$prefix-utf8" "$root/build/$arch/netsh.exe"
(cd "$run" &&
  VENTORA_UTF8=1 "$root/tools/wine.sh" "$prefix" "$root/build/$arch/shots.exe" panel-utf8.bmp)
mkdir -p docs
for shot in panel settings report panel-utf8; do
  convert "$run/$shot.bmp" "docs/$shot.png"
  echo "docs/$shot.png"
done
