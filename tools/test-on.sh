#!/usr/bin/env bash
# test-on.sh RELEASE [COMMAND [ARGS...]]: makes a fresh Debian root of RELEASE (trixie, bookworm)
# with debootstrap, clones this repository's commit into it and runs there, as a newcomer would,
# tools/run.sh and then tools/test.sh, or COMMAND instead (tools/bench.sh, say), and prints the
# release and the Wine each ran on. The root is new every run, so that a step missing from
# tools/setup.sh fails here instead of passing on packages someone installed by hand. Only the
# commit is tested: changes not committed are not in the clone (it says so when there are some).
# On every exit, error and signal included, it ends what runs in the root, unmounts what it
# mounted there and removes it; a root left by a run killed outright goes at the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 1 ] || { echo "usage: tools/test-on.sh RELEASE [COMMAND [ARGS...]]" >&2; exit 2; }
release=$1
shift
[ "$(id -u)" -eq 0 ] || { echo "test-on.sh: debootstrap, chroot and mount need root" >&2; exit 1; }

mirror=http://deb.debian.org/debian
roots=/var/tmp/ventora-roots
root=
child=
log=$(mktemp)
# Background jobs in process groups of their own, so that one signal ends a job and all it started.
set -m

# The processes whose root is ROOT or lies inside it: all that chroot started, however detached.
root_pids() {
  local p r
  for p in /proc/[0-9]*; do
    r=$(readlink "$p/root" 2>/dev/null) || continue
    [[ $r == "$1" || $r == "$1"/* ]] && echo "${p#/proc/}"
  done
  return 0
}

# wait_gone ROOT SECONDS: true once no process runs in ROOT, false if some still do after SECONDS.
wait_gone() {
  local i
  for ((i = 0; i < $2 * 10; i++)); do
    [ -z "$(root_pids "$1")" ] && return 0
    sleep 0.1
  done
  return 1
}

# end_root ROOT: ends what runs in ROOT, unmounts what is mounted in it, deepest first, and removes
# it. A mount that will not go keeps the root on disk: removing it would reach into the mount.
end_root() {
  local dir=$1 mounts m
  if [ -n "$(root_pids "$dir")" ]; then
    kill -TERM $(root_pids "$dir") 2>/dev/null || true
    if ! wait_gone "$dir" 5; then
      kill -KILL $(root_pids "$dir") 2>/dev/null || true
      wait_gone "$dir" 5 ||
        echo "test-on.sh: still running in $dir: $(root_pids "$dir" | tr '\n' ' ')" >&2
    fi
  fi
  mounts=$(awk -v d="$dir" '$5 == d || index($5, d "/") == 1 { print $5 }' /proc/self/mountinfo |
    sort -r)
  for m in $mounts; do
    umount "$m" 2>/dev/null || umount -l "$m" ||
      echo "test-on.sh: cannot unmount $m" >&2
  done
  if awk -v d="$dir" '$5 == d || index($5, d "/") == 1 { found = 1 } END { exit !found }' \
       /proc/self/mountinfo; then
    echo "test-on.sh: $dir keeps a mount, so it stays on disk" >&2
    return 1
  fi
  rm -rf --one-file-system "$dir" "$dir.pid"
}

finish() {
  local status=$?
  # A second signal must not cut the clean-up short.
  trap '' INT TERM HUP
  if [ -n "$child" ]; then
    kill -TERM -- "-$child" 2>/dev/null || true
    wait "$child" 2>/dev/null || true
  fi
  [ -z "$root" ] || end_root "$root" || status=1
  rm -f "$log"
  exit "$status"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# job COMMAND...: runs COMMAND as a background job and waits for it, so that a signal to this
# script is handled at once and not only once the command has ended.
job() {
  local status=0
  "$@" </dev/null &
  child=$!
  wait "$child" || status=$?
  child=
  return "$status"
}

# step WHAT COMMAND...: one line for the step; the command's output is shown only if it fails.
step() {
  local what=$1
  shift
  echo "test-on.sh: $what"
  if ! job "$@" >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "test-on.sh: $what failed" >&2
    exit 1
  fi
}

took() { echo "$((SECONDS / 60)) min $((SECONDS % 60)) s"; }

mkdir -p "$roots"
for pidfile in "$roots"/*.pid; do
  [ -e "$pidfile" ] || continue
  kill -0 "$(cat "$pidfile")" 2>/dev/null && continue
  echo "test-on.sh: removing ${pidfile%.pid}, left by a run that was killed"
  end_root "${pidfile%.pid}" || true
done

command -v debootstrap >/dev/null ||
  step "installing debootstrap" env DEBIAN_FRONTEND=noninteractive \
    sh -c 'apt-get update && apt-get install -y --no-install-recommends debootstrap'

commit=$(git rev-parse HEAD)
[ -z "$(git status --porcelain)" ] ||
  echo "test-on.sh: the changes not committed here are not tested: the root gets $commit as it is"

root=$(mktemp -d "$roots/$release.XXXXXX")
# mktemp gives 0700: the root's own users (apt's _apt among them) must get through its top.
chmod 755 "$root"
echo $$ >"$root.pid"
SECONDS=0
step "making a fresh Debian $release root in $root" debootstrap --variant=minbase "$release" \
  "$root" "$mirror"
# Where a fresh install of the release gets its packages and its updates from.
rm -f "$root/etc/apt/sources.list"
cat >"$root/etc/apt/sources.list.d/debian.sources" <<EOF
Types: deb
URIs: $mirror
Suites: $release $release-updates
Components: main

Types: deb
URIs: ${mirror}-security
Suites: $release-security
Components: main
EOF
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
git clone -q --no-hardlinks --no-checkout . "$root/root/ventora"
git -C "$root/root/ventora" checkout -q --detach "$commit"
echo "test-on.sh: root made and $commit cloned in $(took)"

mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
# Private, so that the mounts below reach neither the host's /dev nor any other copy of it.
mount --bind /dev "$root/dev"
mount --make-private "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount --make-private "$root/dev/pts"
# The bound /dev has no /dev/shm of its own: files made there would stay in the host's devtmpfs.
mount -t tmpfs -o mode=1777,nosuid,nodev tmpfs "$root/dev/shm"

distro=$(. "$root/etc/os-release" && echo "$PRETTY_NAME")

# in_root COMMAND...: runs COMMAND in the clone, with a newcomer's environment and no display, says
# how long it took and on which release and Wine, and fails if it left anything running.
in_root() {
  local status=0 on
  SECONDS=0
  job chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    ${VENTORA_ARCH:+VENTORA_ARCH=$VENTORA_ARCH} \
    bash -c 'cd /root/ventora && exec "$@"' bash "$@" || status=$?
  on="$distro, $(chroot "$root" /usr/lib/wine/wine64 --version 2>/dev/null || echo "no Wine")"
  if [ "$status" -ne 0 ]; then
    echo "test-on.sh: $* failed (exit status $status) after $(took), on $on" >&2
    exit "$status"
  fi
  if ! wait_gone "$root" 10; then
    echo "test-on.sh: $* left running:" >&2
    ps -o pid=,args= -p "$(root_pids "$root" | paste -sd,)" >&2
    exit 1
  fi
  echo "test-on.sh: $* passed in $(took), on $on"
}

if [ $# -gt 0 ]; then
  in_root "$@"
else
  in_root tools/run.sh
  in_root tools/test.sh
fi
