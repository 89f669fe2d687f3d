#!/usr/bin/env bash
# wine.sh PREFIX PROGRAM [ARGS...]: runs one Windows program under Wine in the given prefix (made
# on first use), with code page 936, or, with VENTORA_UTF8=1, in the prefix PREFIX-utf8 with code
# page 65001, as Windows' UTF-8 option gives; with VENTORA_DPI=144, in the prefix PREFIX-dpi144,
# whose display is scaled to 150 %. CMake's cross-compiling emulator, and the run and test
# scripts. The program finds the code page it is meant to get in VENTORA_CODE_PAGE.
set -euo pipefail
prefix=$1 prog=$2; shift 2
source "$(dirname "$0")/winesession.sh"

# The PE machine field picks the loader: a 64-bit-only Wine cannot start i386 code.
pe=$(od -An -tu4 -j60 -N4 "$prog" | tr -d ' ')
case "$(od -An -tx1 -j$((pe + 4)) -N2 "$prog" | tr -d ' ')" in
  4c01) loader=$wine_dir/wine ;;
  6486) loader=$wine_dir/wine64 ;;
  *) echo "wine.sh: $prog is no x86 Windows program" >&2; exit 2 ;;
esac

# Wine takes its code pages from the locale: one without an ANSI code page gives 65001 for both.
if [ "${VENTORA_UTF8:-}" = 1 ]; then
  prefix=$prefix-utf8
  locale=hi_IN.UTF-8
  export VENTORA_CODE_PAGE=65001
else
  locale=zh_CN.UTF-8
  export VENTORA_CODE_PAGE=936
fi
# Wine takes the display's DPI from the prefix.
[ "${VENTORA_DPI:-96}" = 96 ] || prefix=$prefix-dpi$VENTORA_DPI
export WINEPREFIX=$prefix WINELOADER=$loader WINEDEBUG=${WINEDEBUG:--all}
"$(dirname "$0")/wineprefix.sh" "$prefix"
# Under Wine a child ended while its windowless console is still being made can leave a console
# host behind, which holds whatever output it inherited; CTest would wait for it. So the program
# writes to a file, passed on once the program itself has ended.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
# Set through env: bash itself has no zh_CN locale to switch to and would warn.
status=0
env LC_ALL="$locale" "$loader" "$prog" "$@" >"$out" 2>&1 || status=$?
cat "$out"
exit "$status"
