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
# Two builds of the shipped program from different folders must give the same bytes.
tools/repro.sh
source tools/winesession.sh
arch=$(wine_arch)
# A machine that runs 32-bit code runs the 64-bit build's tests as well, so that the path taken
# where 32-bit code cannot run keeps working.
arches=("$arch")
[ "$arch" = win64 ] || arches+=(win64)
for a in "${arches[@]}"; do
  cmake --preset "$a" -DVENTORA_SHIPPED_EXE="$PWD/build/win32/Ventora.exe" >/dev/null
  cmake --build "build/$a" -j2
done

for a in "${arches[@]}"; do
  # Each tree has its own Wine session, ended before the next starts.
  (wine_session "$PWD" "$a" && echo "test.sh: the $a build's tests" &&
    ctest --test-dir "build/$a" -j2 --output-on-failure)
done
