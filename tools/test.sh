#!/usr/bin/env bash
# Builds everything and runs every test: the portable logic natively under the sanitizers, its
# fuzzers, the Windows program's tests under Wine, and the checks of the shipped 32-bit program.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

cmake --preset native >/dev/null
cmake --build build/native -j2
ctest --test-dir build/native --output-on-failure

cmake --preset fuzz >/dev/null
cmake --build build/fuzz -j2
ctest --test-dir build/fuzz -j2 --output-on-failure

# The shipped program is the 32-bit one. Where the machine cannot run 32-bit code, its tests run
# on the same sources built for 64-bit Windows, and the 32-bit executable is checked statically.
cmake --preset win32 >/dev/null
cmake --build build/win32 -j2 --target Ventora netsh_sim
if /usr/lib/wine/wine --version >/dev/null 2>&1; then arch=win32; else arch=win64
  echo "test.sh: this machine runs no 32-bit code; the Wine tests run the 64-bit build"
fi
cmake --preset "$arch" -DVENTORA_SHIPPED_EXE="$PWD/build/win32/Ventora.exe" >/dev/null
cmake --build "build/$arch" -j2

source tools/xvfb.sh
prefix="$PWD/build/$arch/wineprefix"
tools/wineprefix.sh "$prefix"
# One wineserver for the whole run instead of one per test program, with Wine's own services
# started here: started by a test, they would inherit its output and CTest would wait on them.
WINEPREFIX="$prefix" /usr/lib/wine/wineserver -p
trap 'WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true; kill ${xvfb_pid:-} 2>/dev/null || true' EXIT
WINEPREFIX="$prefix" WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1
ctest --test-dir "build/$arch" -j2 --output-on-failure

# Two builds of the shipped program from different folders must give the same bytes.
tools/repro.sh
