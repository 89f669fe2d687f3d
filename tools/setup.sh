#!/usr/bin/env bash
# Installs what the build, the demo and the tests need on Debian 12 or 13; quick and silent when
# all is there, one line per step otherwise, with the package manager's output shown only if a step
# fails. On another system it says so and stops: the names below are those of these two releases.
set -euo pipefail

. /etc/os-release
case "${ID:-}:${VERSION_CODENAME:-}" in
  debian:bookworm | debian:trixie) ;;
  *)
    echo "setup.sh: this is ${PRETTY_NAME:-a system without /etc/os-release}; setup.sh knows the" \
      "packages of Debian 12 (bookworm) and Debian 13 (trixie) only, so it stops here" >&2
    exit 1
    ;;
esac

# libclang-rt-dev is the release's name for the run time of its default clang (clang 14 on
# Debian 12, clang 19 on 13), whose libFuzzer the fuzzers link. fonts-wine carries Marlett, which
# Wine draws the window frames' buttons with. repro.sh and release.sh read the sources from git.
need=(cmake make g++ googletest clang llvm libclang-rt-dev git
      g++-mingw-w64-i686-posix binutils-mingw-w64-i686
      g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
      wine wine32:i386 wine64 fonts-wine xvfb xauth x11-utils imagemagick fonts-wqy-microhei zip
      python3 locales)

missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
have_locale() {
  locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' && locale -a 2>/dev/null | grep -qix 'hi_IN.utf8'
}
[ ${#missing[@]} -eq 0 ] && have_locale && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# step WHAT COMMAND...: one line for the step; the command's output goes to the log.
step() {
  local what=$1
  shift
  echo "setup: $what"
  if ! "$@" >>"$log" 2>&1; then
    echo "setup: $what failed:" >&2
    cat "$log" >&2
    exit 1
  fi
}

dpkg --print-foreign-architectures | grep -qx i386 ||
  step "adding the i386 architecture" $SUDO dpkg --add-architecture i386
if [ ${#missing[@]} -gt 0 ]; then
  step "updating the package lists" $SUDO apt-get update
  step "installing ${missing[*]}" $SUDO env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Wine converts the Linux side's texts, file names among them, through these locales; its ANSI
# code page then is 936, or, in hi_IN's, which has none, 65001 as with Windows' UTF-8 option.
if ! have_locale; then
  step "adding the zh_CN.UTF-8 and hi_IN.UTF-8 locales" $SUDO sh -c \
    "sed -i -e 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' -e 's/^# *hi_IN UTF-8/hi_IN UTF-8/' \
      /etc/locale.gen && locale-gen"
fi
