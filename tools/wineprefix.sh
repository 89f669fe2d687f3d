#!/usr/bin/env bash
# wineprefix.sh DIR: makes a Wine prefix for the project's programs, once, even when asked twice at once.
set -euo pipefail
prefix=$1
mkdir -p "$prefix"
exec 9>"$prefix.lock"
flock 9
# Wine draws the window frames' buttons with Marlett, which no prefix gets by itself; existing
# prefixes get it too.
fonts=$prefix/drive_c/windows/Fonts
if [ ! -f "$fonts/marlett.ttf" ]; then
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$fonts/" ||
    { echo "wineprefix.sh: Wine's Marlett font is missing: run tools/setup.sh" >&2; exit 1; }
fi
[ -f "$prefix/.ready" ] && exit 0

export WINEPREFIX=$prefix WINELOADER=/usr/lib/wine/wine64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
# Without a window manager Wine stalls on every hidden window unless its windows are unmanaged;
# unmanaged, Wine draws the window frames itself.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
/usr/lib/wine/wineserver -w
touch "$prefix/.ready"
