#!/usr/bin/env bash
# Builds the shipped 32-bit program and packs dist/ventora-<version>-win32.zip: Ventora.exe, the
# user's guides as Notepad-friendly text, toolchain.txt and SHA256SUMS. The same sources give the
# same zip on the same release; each release's toolchain gives an exe of its own, which
# toolchain.txt names, so that a user can rebuild those bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
# The same order of names and the same clock wherever it runs (zip stores local times).
export LC_ALL=C TZ=UTC

cmake --preset win32 >/dev/null
# The project's version, as the configure step wrote it down.
version=$(cat build/win32/version.txt)
cmake --build build/win32 -j2 --target Ventora

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp build/win32/Ventora.exe "$stage/"

# The guides as Notepad-friendly text.
for lang in zh en; do python3 tools/md2text.py "docs/guide-$lang.md" "$stage/guide-$lang.txt"; done

# What the exe's bytes depend on beyond the sources: the release, its MinGW-w64 compiler and
# binutils, the MinGW-w64 run time linked in statically, and CMake, which writes the build's
# command lines. CR LF, for Notepad.
changes=$(git diff --quiet HEAD || echo ", with changes not committed")
{
  echo "Ventora $version, commit $(git rev-parse HEAD)$changes"
  echo "Ventora.exe built by tools/release.sh on $(. /etc/os-release && echo "$PRETTY_NAME") with:"
  dpkg-query -W -f='  ${Package} ${Version}\n' g++-mingw-w64-i686-posix binutils-mingw-w64-i686 \
    mingw-w64-i686-dev cmake
  echo "Built with these from that commit, Ventora.exe has the same bytes (SHA256SUMS has them);"
  echo "another release's toolchain gives other bytes."
} | sed 's/$/\r/' >"$stage/toolchain.txt"

# CR LF, as everything else in the zip, for Notepad; sha256sum -c reads it so too.
(cd "$stage" && sha256sum -- * | sed 's/$/\r/' > SHA256SUMS)

# Fixed times (the last commit's, unless SOURCE_DATE_EPOCH says otherwise), modes and order; -X
# leaves out the owner and the extra time fields.
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
chmod 0644 "$stage"/*
touch -d "@$epoch" "$stage"/*
zipfile=$PWD/dist/ventora-$version-win32.zip
mkdir -p dist
rm -f "$zipfile"
(cd "$stage" && ls | sort | zip -q -X -D -9 "$zipfile" -@)
echo "release.sh: $(sha256sum "$zipfile" | cut -d' ' -f1)  dist/${zipfile##*/}"
