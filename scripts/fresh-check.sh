#!/usr/bin/env bash
# Checks that a fresh Debian 12 machine installs, builds and tests the program as the README
# says. It builds a minimal Debian 12 root with debootstrap from this machine's Debian mirror,
# puts a clean clone of the committed work (HEAD; uncommitted changes are not part of it) into
# it and runs there, as root:
#   1. scripts/test.sh (installs the packages, builds, runs the whole test suite);
#   2. scripts/package.sh, then `apt-get install ./tamvisto_*.deb`, and checks the installed
#      program: `pelvoro-cli --version`, `pelvoro-cli convert` of the installed demo document,
#      the desktop entry, the icon, the file types and the manual pages; lintian reports no
#      error or warning on the package.
# Run it whenever dependencies, CMake files or scripts change. It is slow (a new root, every
# package, a full build), so it is not part of CI. Needs root and network access to the mirror.
#
# usage: scripts/fresh-check.sh [--keep] [--ccache DIR] [--root DIR]
#   --keep        leave the root in place afterwards (it is removed by default)
#   --ccache DIR  share a compiler cache with the build in the root (ccache is installed in
#                 the root first; a cache never hides a missing package, it only saves time)
#   --root DIR    build the root there (an empty or missing folder; default: a new folder
#                 under /var/tmp)
# Heavy work runs under `nice`: the machine may be shared.
set -euo pipefail

keep=0
ccache_dir=""
root=""
while [ $# -gt 0 ]; do
  case "$1" in
    --keep) keep=1 ;;
    --ccache) ccache_dir=$(realpath "$2"); shift ;;
    --root) root="$2"; shift ;;
    -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    *) echo "fresh-check: unknown argument '$1'" >&2; exit 2 ;;
  esac
  shift
done

if [ "$(id -u)" -ne 0 ]; then
  echo "fresh-check: needs root (debootstrap, chroot, mounts)" >&2
  exit 2
fi

repo=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$repo" rev-parse HEAD)

# Mounts live in a mount namespace of their own, so that none outlives the check even when it
# is killed; they are still unmounted on every exit (below).
if [ -z "${PELVORO_FRESH_NS:-}" ]; then
  export PELVORO_FRESH_NS=1
  exec unshare --mount --propagation private -- "$0" \
    $([ $keep = 1 ] && echo --keep) ${ccache_dir:+--ccache "$ccache_dir"} ${root:+--root "$root"}
fi

step_start=$SECONDS
step() {
  echo
  echo "=== fresh-check: $* ($(date +%H:%M:%S), $((SECONDS - step_start)) s so far)"
}

# The Debian mirror and the security mirror this machine's apt uses.
debian_mirror() {  # suite
  local suite=$1 f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    awk -v s="$suite" '$1 == "deb" { i = 2; if ($2 ~ /^\[/) { while (i <= NF && $i !~ /\]$/) i++; i++ }
                        if ($(i + 1) == s) { print $i; exit } }' "$f"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v s="$suite" 'BEGIN { RS = ""; FS = "\n" }
      { uri = ""; hit = 0; deb = 0
        for (i = 1; i <= NF; i++) {
          if ($i ~ /^Types:/ && $i ~ /[ \t]deb([ \t]|$)/) deb = 1
          if ($i ~ /^URIs:/) { split($i, u, /[ \t]+/); uri = u[2] }
          if ($i ~ /^Suites:/) { n = split($i, w, /[ \t]+/); for (j = 2; j <= n; j++) if (w[j] == s) hit = 1 }
        }
        if (deb && hit && uri != "") { print uri; exit } }' "$f"
  done
}
mirror=$(debian_mirror bookworm | head -n1)
security=$(debian_mirror bookworm-security | head -n1)
if [ -z "$mirror" ]; then
  echo "fresh-check: no Debian 12 (bookworm) mirror in /etc/apt/sources.list*" >&2
  exit 2
fi

if ! command -v debootstrap >/dev/null; then
  step "installing debootstrap"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
fi

if [ -z "$root" ]; then
  root=$(mktemp -d /var/tmp/pelvoro-fresh.XXXXXX)
else
  mkdir -p "$root"
  root=$(realpath "$root")
  if [ -n "$(ls -A "$root")" ]; then
    echo "fresh-check: $root is not empty" >&2
    exit 2
  fi
fi

mounts=()
cleanup() {
  local rc=$? i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" 2>/dev/null || true
  done
  if grep -q " $root/" /proc/self/mounts; then
    echo "fresh-check: something is still mounted under $root; it is left in place" >&2
  elif [ $keep = 0 ]; then
    rm -rf --one-file-system "$root"
  else
    echo "fresh-check: the root is kept at $root"
  fi
  echo
  if [ $rc -eq 0 ]; then
    echo "fresh-check: PASSED (commit ${commit:0:12}, $SECONDS s)"
  else
    echo "fresh-check: FAILED with status $rc (commit ${commit:0:12}, $SECONDS s)" >&2
  fi
  exit $rc
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

mount_at() {  # target mount-arguments...
  local target=$1
  shift
  mkdir -p "$target"
  mount "$@" "$target"
  mounts+=("$target")
}

step "debootstrap bookworm from $mirror into $root"
nice debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 || {
  tail -n 30 "$root.debootstrap.log" >&2
  exit 1
}
rm -f "$root.debootstrap.log"
{
  echo "deb $mirror bookworm main"
  echo "deb $mirror bookworm-updates main"
  [ -n "$security" ] && echo "deb $security bookworm-security main"
} >"$root/etc/apt/sources.list"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
echo pelvoro-fresh >"$root/etc/hostname"

mount_at "$root/proc" -t proc proc
mount_at "$root/sys" -t sysfs -o ro sysfs
# A /dev of its own (a bound or second devtmpfs would let the root change the machine's /dev):
# the usual nodes, and a new pty instance (end-to-end tests open ptys).
mount_at "$root/dev" -t tmpfs -o mode=0755,nosuid tmpdev
mknod -m 666 "$root/dev/null" c 1 3
mknod -m 666 "$root/dev/zero" c 1 5
mknod -m 666 "$root/dev/full" c 1 7
mknod -m 666 "$root/dev/random" c 1 8
mknod -m 666 "$root/dev/urandom" c 1 9
mknod -m 666 "$root/dev/tty" c 5 0
ln -s pts/ptmx "$root/dev/ptmx"
ln -s /proc/self/fd "$root/dev/fd"
ln -s /proc/self/fd/0 "$root/dev/stdin"
ln -s /proc/self/fd/1 "$root/dev/stdout"
ln -s /proc/self/fd/2 "$root/dev/stderr"
mount_at "$root/dev/pts" -t devpts -o newinstance,ptmxmode=0666,mode=0620,gid=5 devpts
mount_at "$root/dev/shm" -t tmpfs -o mode=1777,nosuid,nodev shm
mount_at "$root/tmp" -t tmpfs -o mode=1777,nosuid tmp

step "clean clone of ${commit:0:12}"
src=/work/pelvoro
git clone --quiet --no-checkout "$repo" "$root$src"
git -C "$root$src" checkout --quiet --detach "$commit"

in_root() {  # command: runs a shell command in the root, niced
  chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    DEBIAN_FRONTEND=noninteractive ${cache_env[@]+"${cache_env[@]}"} \
    nice -n 10 /bin/bash -euo pipefail -c "$1"
}

cache_env=()
if [ -n "$ccache_dir" ]; then
  step "compiler cache $ccache_dir"
  mount_at "$root$ccache_dir" --bind "$ccache_dir"
  in_root "apt-get update -qq && apt-get install -y -qq --no-install-recommends ccache >/dev/null"
  cache_env=(CCACHE_DIR="$ccache_dir" CMAKE_CXX_COMPILER_LAUNCHER=ccache)
  [ -f "$ccache_dir/ccache.conf" ] && cache_env+=(CCACHE_CONFIGPATH="$ccache_dir/ccache.conf")
fi

step "scripts/test.sh (install, build, test)"
in_root "cd $src && scripts/test.sh"

if [ -x "$root$src/scripts/package.sh" ]; then
  step "scripts/package.sh and apt-get install of the package"
  in_root "cd $src && scripts/package.sh"
  in_root "cd $src/build/package && apt-get install -y -qq ./tamvisto_*.deb"

  step "lintian: no errors or warnings on the package"
  in_root "apt-get install -y -qq --no-install-recommends lintian >/dev/null"
  in_root "cd $src/build/package && lintian --fail-on error,warning tamvisto_*.deb"

  step "the installed program"
  in_root '
    cd /tmp
    pelvoro-cli --version
    test "$(pelvoro-cli --version)" = "Tamvisto 2.1"
    test "$(pelvoro-cli lang mbcWarning_20)" = "Warning"
    pelvoro-cli convert /usr/share/tamvisto/Demo.TMV /tmp/Demo-converted.TMV
    cmp -s /usr/share/tamvisto/Demo.TMV /tmp/Demo-converted.TMV && echo "converted: unchanged" \
      || echo "converted: $(wc -c </tmp/Demo-converted.TMV) bytes"
    pelvoro-cli table /tmp/Demo-converted.TMV >/tmp/table.txt
    sed -n "1,6p" /tmp/table.txt
    test -s /tmp/table.txt
    for f in /usr/share/applications/org.tamvisto.Tamvisto.desktop \
             /usr/share/icons/hicolor/scalable/apps/tamvisto.svg \
             /usr/share/metainfo/org.tamvisto.Tamvisto.metainfo.xml \
             /usr/share/mime/packages/tamvisto.xml \
             /usr/share/man/man1/pelvoro.1.gz /usr/share/doc/tamvisto/copyright; do
      test -s "$f" || { echo "missing: $f" >&2; exit 1; }
      echo "installed: $f"
    done
    if command -v desktop-file-validate >/dev/null; then
      desktop-file-validate /usr/share/applications/org.tamvisto.Tamvisto.desktop
    fi
    if [ -x /usr/bin/update-mime-database ]; then
      grep "tamvisto" /usr/share/mime/globs2
    fi
    # The desktop program starts from the installation (offscreen), and keeps its
    # transfer folder in the user data folder, not in the installation.
    QT_QPA_PLATFORM=offscreen timeout 60 pelvoro --screenshot /tmp/window.png \
      /usr/share/tamvisto/Demo.TMV
    test -s /tmp/window.png && echo "window picture: $(wc -c </tmp/window.png) bytes"
    test ! -e /usr/share/tamvisto/Results
    test -d /root/.local/share/Tamvisto/Results
    command -v pelvoro-sim >/dev/null
  '
  if [ $keep = 1 ]; then cp "$root/tmp/window.png" "$root.window.png" 2>/dev/null || true; fi
fi

step "done"
