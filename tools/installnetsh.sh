#!/usr/bin/env bash
# installnetsh.sh PREFIX NETSH_EXE: makes the built netsh simulator the Wine prefix's own netsh.exe,
# in its system folder and, in a prefix with one, its 32-bit system folder. Wine runs it in place of
# its builtin netsh through the override wineprefix.sh sets. Replaced by a rename, so that a
# netsh running at that moment keeps its file.
set -euo pipefail
prefix=$1 netsh=$2
"$(dirname "$0")/wineprefix.sh" "$prefix"
for dir in "$prefix/drive_c/windows/system32" "$prefix/drive_c/windows/syswow64"; do
  [ -d "$dir" ] || continue
  cmp -s "$netsh" "$dir/netsh.exe" && continue
  cp "$netsh" "$dir/netsh.exe.new"
  mv -f "$dir/netsh.exe.new" "$dir/netsh.exe"
done
