#!/usr/bin/env bash
# wineprefix.sh DIR: makes a Wine prefix for the project's programs, once, even when asked twice at
# once; a prefix made by an older version of this script gets the settings it lacks. A DIR whose
# name ends in -utf8 is the prefix of Windows' UTF-8 option, one whose name ends in -dpi144 that
# of a display scaled to 150 % (tools/wine.sh).
set -euo pipefail
prefix=$1
source "$(dirname "$0")/winesession.sh"
version=6
mkdir -p "$prefix"
exec 9>"$prefix.lock"
flock 9
[ "$(cat "$prefix/.ready" 2>/dev/null)" = "$version" ] && exit 0

export WINEPREFIX=$prefix WINELOADER=$wine_dir/wine64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/.ready" ]; then
  "$wine_dir/wine64" wineboot -i >/dev/null 2>&1 || true
  # Without a window manager Wine stalls on every hidden window unless its windows are unmanaged;
  # unmanaged, Wine draws the window frames itself.
  "$wine_dir/wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
fi
# Wine draws the window frames' buttons with Marlett, which no prefix gets by itself.
fonts=$prefix/drive_c/windows/Fonts
mkdir -p "$fonts"
cp /usr/share/wine/fonts/marlett.ttf "$fonts/" ||
  { echo "wineprefix.sh: Wine's Marlett font is missing: run tools/setup.sh" >&2; exit 1; }
# The netsh simulator stands in the system folder as netsh.exe (tools/installnetsh.sh puts it
# there): Wine runs that file only when told to prefer it to its builtin netsh.
"$wine_dir/wine64" reg add 'HKCU\Software\Wine\DllOverrides' /v netsh.exe /d native /f \
  >/dev/null 2>&1
# A program that crashes ends at once, its backtrace on its standard error, instead of waiting
# on a crash dialog that no one closes: the tests see it end.
"$wine_dir/wine64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
  >/dev/null 2>&1
# Under code page 936 Wine draws Chinese with a CJK font by itself; under 65001 it must be told
# to, for the fonts the dialogs and the message boxes name. Wine reads the names in the locale's
# charset, UTF-8 here.
if [[ $prefix == *-utf8 ]]; then
  for font in 宋体 SimSun Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
    env LC_ALL=hi_IN.UTF-8 "$wine_dir/wine64" reg add 'HKCU\Software\Wine\Fonts\Replacements' \
      /v "$font" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
  done
fi
# A laptop's display scaled to 150 %: Windows gives programs aware of it 144 DPI.
if [[ $prefix == *-dpi144 ]]; then
  "$wine_dir/wine64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f \
    >/dev/null 2>&1
fi
"$wine_dir/wineserver" -w
echo "$version" >"$prefix/.ready"
