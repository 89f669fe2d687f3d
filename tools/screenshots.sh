#!/usr/bin/env bash
# Builds the program and the screenshot driver, runs them under Wine (on a private Xvfb unless a
# display is set) and writes docs/panel.png, docs/settings.png and docs/report.png, then
# docs/panel-utf8.png: the same panel, the hotspot now allowed and started, on code page 65001
# as with Windows' UTF-8 option; docs/scaled-panel.png and docs/scaled-report.png: the panel and
# its status report over it on a display scaled to 150 %; and docs/unsupported.png: the status
# report over the panel where the adapter's driver has no hosted network.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tools/setup.sh

source tools/winesession.sh
demo_folder "$root" "" shots
(cd "$run" && "$root/tools/wine.sh" "$prefix" "$root/build/$arch/shots.exe")
"$root/tools/installnetsh.sh" "$prefix-utf8" "$root/build/$arch/netsh.exe"
(cd "$run" &&
  VENTORA_UTF8=1 "$root/tools/wine.sh" "$prefix" "$root/build/$arch/shots.exe" panel panel-utf8.bmp)
# The same network on a display scaled to 150 %.
"$root/tools/installnetsh.sh" "$prefix-dpi144" "$root/build/$arch/netsh.exe"
mkdir "$run/scaled"
cp "$run/Ventora.exe" "$run/hostednetwork.state" "$run/scaled/"
for only in panel report; do
  (cd "$run/scaled" && VENTORA_NETSH_DIR="$VENTORA_NETSH_DIR\\scaled" VENTORA_DPI=144 \
    "$root/tools/wine.sh" "$prefix" "$root/build/$arch/shots.exe" $only ../scaled-$only.bmp)
done
# Allowed and named, as a user has it after the first two buttons, on a driver without the
# hosted network.
mkdir "$run/unsupported"
cp "$run/Ventora.exe" "$run/unsupported/"
printf 'mode=allow\r\nrunning=0\r\ndriver=unsupported\r\nssid=%s\r\nkey=%s\r\n' \
  "$(printf Ventora | od -An -tx1 | tr -d ' \n')" "$(printf 12345678 | od -An -tx1 | tr -d ' \n')" \
  >"$run/unsupported/hostednetwork.state"
(cd "$run/unsupported" && VENTORA_NETSH_DIR="$VENTORA_NETSH_DIR\\unsupported" \
  "$root/tools/wine.sh" "$prefix" "$root/build/$arch/shots.exe" report ../unsupported.bmp)
mkdir -p docs
for shot in panel settings report panel-utf8 scaled-panel scaled-report unsupported; do
  convert "$run/$shot.bmp" "docs/$shot.png"
  echo "docs/$shot.png"
done
