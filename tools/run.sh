#!/usr/bin/env bash
# Builds the program and runs it under Wine from build/demo, against the hosted-network simulator
# installed as the Wine prefix's netsh.exe, which keeps its state in build/demo.
# With a display, the panel opens there; without one, it runs under Xvfb and its picture is saved.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

source tools/winesession.sh
arch=$(wine_arch)
cmake --preset "$arch" >/dev/null
cmake --build "build/$arch" -j2 --target Ventora netsh_sim
demo=$PWD/build/demo prefix=$PWD/build/$arch/wineprefix
mkdir -p "$demo"
tools/installnetsh.sh "$prefix" "build/$arch/netsh.exe"
cp "build/$arch/Ventora.exe" "$demo/"
# Left by older versions of this script; it would never run now.
rm -f "$demo/netsh.exe"
export VENTORA_NETSH_DIR="Z:${demo//\//\\}"
cd "$demo"

if [ -n "${DISPLAY:-}" ]; then
  exec "$OLDPWD/tools/wine.sh" "$prefix" Ventora.exe
fi

source "$OLDPWD/tools/xvfb.sh"
"$OLDPWD/tools/wine.sh" "$prefix" Ventora.exe &
for _ in $(seq 60); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Ventora"' && break
  sleep 0.5
done
sleep 2
import -window root screenshot.png
convert screenshot.png -trim +repage screenshot.png
WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
echo "The panel ran under Xvfb (no display is set); its picture: $demo/screenshot.png"
