#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine and prints every figure against its goal, with the
# machine it ran on. Optional argument: runs of each side (default 41). Figures are noisy on a
# busy machine: run it alone.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tools/setup.sh

# The shipped program is the 32-bit build; its size and imports are read from the file.
cmake --preset win32 >/dev/null
cmake --build build/win32 -j2 --target Ventora >/dev/null
source tools/winesession.sh
demo_folder "$root" "" bench

if [ "$arch" = win32 ]; then timed="the shipped 32-bit build (win32)"; else
  timed="the 64-bit build (win64) of the same sources: this machine runs no 32-bit code, so not the shipped 32-bit build"
fi
echo "machine: $(nproc) CPUs, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)," \
  "$("$wine_dir/wine64" --version); timed: $timed"

exe=build/win32/Ventora.exe
bytes=$(stat -c %s "$exe")
mapfile -t dlls < <(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' |
  tr '[:upper:]' '[:lower:]' | sort -u)
# DLLs every Windows has in System32.
os_dlls=" $(grep -v '^#' tools/system_dlls.txt | tr '\n' ' ') "
others=()
for d in "${dlls[@]}"; do [[ $os_dlls == *" $d"[[:space:]]* ]] || others+=("$d"); done
verdict=met
[ "$bytes" -le 49152 ] && [ ${#others[@]} -eq 0 ] || verdict="NOT met"
echo "size             $bytes bytes ($(awk "BEGIN{printf \"%.1f\", $bytes/1024}") KiB), imports:" \
  "${dlls[*]}${others:+ (not OS DLLs: ${others[*]})}  goal <= 49152 bytes, OS DLLs only: $verdict"

cd "$run"
# The bench gives up its console; wine.sh gives it a file for its output, which outlives that.
"$root/tools/wine.sh" "$prefix" "$root/build/$arch/bench.exe" "$@"
