#!/usr/bin/env bash
# Builds the shipped 32-bit program twice from the working tree as it is (uncommitted changes
# too), in two copies at different paths, and checks that both Ventora.exe are the same bytes
# and that neither holds the path it was built in. It proves so for the release it runs on.
set -euo pipefail
cd "$(dirname "$0")/.."

top=$(mktemp -d /tmp/ventora-repro.XXXXXX)
trap 'rm -rf "$top"' EXIT
# Of different lengths, so that a path that got in would also shift what follows it.
copies=("$top/one" "$top/the-second")

for copy in "${copies[@]}"; do
  mkdir "$copy"
  # Tracked and new files, minus those deleted in the working tree.
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
    xargs -0 cp -P --preserve=mode --parents -t "$copy"
  log=$copy.log
  # Configured through the same preset as every other build of the shipped program.
  if ! (cd "$copy" && cmake --preset win32 && cmake --build build/win32 -j2 --target Ventora) \
       >"$log" 2>&1; then
    tail -n 30 "$log"
    echo "repro.sh: the build in $copy failed" >&2
    exit 1
  fi
done

one=${copies[0]}/build/win32/Ventora.exe two=${copies[1]}/build/win32/Ventora.exe
status=0
if cmp -s "$one" "$two"; then
  # Each release's toolchain gives bytes of its own: the release goes with the checksum.
  echo "repro.sh: both builds gave the same Ventora.exe ($(stat -c %s "$one") bytes," \
    "sha256 $(sha256sum "$one" | cut -d' ' -f1)) on $(. /etc/os-release && echo "$PRETTY_NAME")"
else
  echo "repro.sh: the two builds differ in $(cmp -l "$one" "$two" | wc -l) bytes;" \
    "the first (offset from 1, octal bytes):" >&2
  cmp -l "$one" "$two" | head -n 20 >&2
  status=1
fi

for exe in "$one" "$two"; do
  # The folder's own name, random, catches a path cut or rewritten to a relative one too.
  for path in "$top" "${top##*/}"; do
    if count=$(grep -c -a -F -- "$path" "$exe"); then
      echo "repro.sh: $exe holds '$path' ($count lines)" >&2
      status=1
    fi
  done
done
exit $status
