#!/usr/bin/env bash
# Builds the program and the screenshot driver, runs them under Wine (on a private Xvfb unless a
# display is set) and writes docs/panel.png, docs/settings.png and docs/report.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tools/setup.sh

source tools/winesession.sh
demo_folder "$root" "" shots
(cd "$run" && "$root/tools/wine.sh" "$prefix" "$root/build/$arch/shots.exe")
mkdir -p docs
for shot in panel settings report; do
  convert "$run/$shot.bmp" "docs/$shot.png"
  echo "docs/$shot.png"
done
