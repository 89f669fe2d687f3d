#!/usr/bin/env bash
# Builds the program and runs it under Wine from build/demo, against the hosted-network simulator
# installed as the Wine prefix's netsh.exe, which keeps its state in build/demo.
# With a display, the panel opens there; without one, it runs under Xvfb and its picture is saved.
# With --no-hosted-network, the simulated adapter's driver has no hosted network, as on most
# current laptops, for this run.
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
  "") driver=supported ;;
  --no-hosted-network) driver=unsupported ;;
  *) echo "usage: tools/run.sh [--no-hosted-network]" >&2; exit 2 ;;
esac
tools/setup.sh

source tools/winesession.sh
# Asked before the session gives this shell a display of its own.
own_display=${DISPLAY:-}
# Left by older versions of this script; it would never run now.
rm -f build/demo/netsh.exe
demo_folder "$PWD" "$PWD/build/demo"
cd "$demo"
# The simulator keeps the rest of its state; it writes the driver line only when unsupported.
state=hostednetwork.state
touch "$state"
sed -i '/^driver=/d' "$state"
[ "$driver" = supported ] || printf 'driver=unsupported\r\n' >>"$state"

if [ -n "$own_display" ]; then
  "$OLDPWD/tools/wine.sh" "$prefix" Ventora.exe
  exit
fi

"$OLDPWD/tools/wine.sh" "$prefix" Ventora.exe &
for _ in $(seq 60); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Ventora"' && break
  sleep 0.5
done
sleep 2
import -window root screenshot.png
convert screenshot.png -trim +repage screenshot.png
echo "The panel ran under Xvfb (no display is set); its picture: $demo/screenshot.png"
