# Sourced by the scripts that run Windows programs under Wine.

# Wine's loaders and server, where Debian's and Ubuntu's wine packages put them.
wine_dir=/usr/lib/wine

# win32 where this machine runs 32-bit x86 code, else win64: the same sources for 64-bit Wine.
# VENTORA_ARCH=win64 picks the 64-bit build anyway, to try that path on a machine that has both.
wine_arch() {
  if [ "${VENTORA_ARCH:-}" = win64 ]; then
    echo "$(basename "$0"): VENTORA_ARCH=win64, so this uses the 64-bit build" >&2
    echo win64
  elif "$wine_dir/wine" --version >/dev/null 2>&1; then echo win32; else
    echo "$(basename "$0"): this machine runs no 32-bit code, so this uses the 64-bit build" >&2
    echo win64
  fi
}

# wine_session ROOT ARCH: a display, the build tree's Wine prefix with one wineserver for every
# program the script starts and the tree's netsh simulator as its netsh.exe (when built), and a
# scratch folder $run; all undone when the script exits.
wine_session() {
  source "$1/tools/xvfb.sh"
  prefix=$1/build/$2/wineprefix
  "$1/tools/wineprefix.sh" "$prefix"
  [ ! -f "$1/build/$2/netsh.exe" ] || "$1/tools/installnetsh.sh" "$prefix" "$1/build/$2/netsh.exe"
  run=$(mktemp -d)
  trap 'wine_session_end' EXIT
  # A wineserver already serving the prefix belongs to another session and is left alone.
  if WINEPREFIX="$prefix" "$wine_dir/wineserver" -p 2>/dev/null; then own_server=1; else
    own_server=
    echo "$(basename "$0"): another Wine session shares $prefix" >&2
  fi
  # Wine's own services start here: started by a test, they would inherit its output and CTest
  # would wait for them to close it.
  WINEPREFIX="$prefix" WINELOADER=$wine_dir/wine64 "$wine_dir/wine64" wineboot \
    </dev/null >/dev/null 2>&1
}

# demo_folder ROOT FOLDER [TARGETS...]: builds the program, the netsh simulator and TARGETS for
# this machine, starts the Wine session and puts Ventora.exe in FOLDER ($run when empty), where the
# prefix's netsh keeps the hosted network's state. Sets arch, prefix, run and demo.
demo_folder() {
  local root=$1 folder=$2
  shift 2
  arch=$(wine_arch)
  (cd "$root" && cmake --preset "$arch" >/dev/null)
  cmake --build "$root/build/$arch" -j2 --target Ventora netsh_sim "$@" >/dev/null
  wine_session "$root" "$arch"
  demo=${folder:-$run}
  mkdir -p "$demo"
  cp "$root/build/$arch/Ventora.exe" "$demo/"
  export VENTORA_NETSH_DIR="Z:${demo//\//\\}"
}

# prefix_pids PREFIX...: the processes started with WINEPREFIX set to one of these prefixes, under
# this process's root: a chroot (tools/test-on.sh) may hold the same paths.
prefix_pids() {
  local want pid patterns=() own_root
  own_root=$(readlink /proc/self/root)
  for want in "$@"; do patterns+=(-e "WINEPREFIX=$want"); done
  for pid in $({ grep -lszxF "${patterns[@]}" /proc/[0-9]*/environ || true; } | cut -d/ -f3); do
    [ "$(readlink "/proc/$pid/root" 2>/dev/null)" != "$own_root" ] || echo "$pid"
  done
}

wine_session_end() {
  # With the UTF-8 option's prefix and the scaled display's (tools/wine.sh), where the tests or
  # the pictures used them.
  local each
  for each in "$prefix" "$prefix-utf8" "$prefix-dpi144"; do
    [ -z "${own_server:-}" ] || [ ! -d "$each" ] ||
      WINEPREFIX="$each" "$wine_dir/wineserver" -k 2>/dev/null || true
  done
  # Windows ends a console host with its console's last process. Wine 8 and 10 can leave one whose
  # process was ended while its windowless console was being made, blocked on a pipe it holds
  # both ends of, so that it outlives even the wineserver.
  [ -z "${own_server:-}" ] ||
    kill -KILL $(prefix_pids "$prefix" "$prefix-utf8" "$prefix-dpi144") 2>/dev/null || true
  rm -rf "$run"
  kill ${xvfb_pid:-} 2>/dev/null || true
}
