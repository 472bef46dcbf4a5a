#!/usr/bin/env bash
# Runs a command on a freshly made Debian 12 system: a minimal root made with
# mmdebstrap from the machine's own Debian package sources, holding a clone of this
# repository's current commit (HEAD; uncommitted changes are not in it). Nothing
# installed on this machine is visible inside, so a missing install step fails
# there as it would on a new examiner's or developer's machine.
#   scripts/fresh-root.sh <command...>      e.g. scripts/fresh-root.sh scripts/test.sh
# The command runs as root, in the clone (/rumbolo inside the root). The root is
# unmounted and removed afterwards, also after a failure or an interrupt; what the
# command left in the clone's build*/artefacts folders is copied to
# build-fresh-root/ first.
#
# Needs root. Compiler output is cached between runs in $RUMBOLO_FRESH_ROOT_CCACHE
# (default /var/cache/rumbolo-fresh-root/ccache; set it empty for none): only what
# the compiler made from identical sources, so it cannot stand in for a package.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ $# -eq 0 ]; then
    echo "usage: scripts/fresh-root.sh <command...>" >&2
    exit 2
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "fresh-root: needs root (mmdebstrap, mounts and chroot)" >&2
    exit 1
fi
CCACHE_DIR_HOST="${RUMBOLO_FRESH_ROOT_CCACHE-/var/cache/rumbolo-fresh-root/ccache}"

if ! command -v mmdebstrap >/dev/null 2>&1; then
    echo "fresh-root: installing mmdebstrap"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends mmdebstrap >/dev/null
fi

# The machine's Debian sources and the apt settings that reaching them needs.
sources=()
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    if [ -f "$f" ] && grep -v '^[[:space:]]*#' "$f" | grep -q 'debian'; then
        sources+=("$f")
    fi
done
if [ ${#sources[@]} -eq 0 ]; then
    echo "fresh-root: no Debian package source in /etc/apt to make the root from" >&2
    exit 1
fi
aptopts=()
for f in /etc/apt/apt.conf.d/*; do
    if [ -f "$f" ] && grep -q '^[[:space:]]*Acquire::' "$f"; then
        aptopts+=("--aptopt=$f")
    fi
done

BASE="$(mktemp -d /var/tmp/rumbolo-fresh-root.XXXXXX)"
FRESH="$BASE/root"
mounted=()
cleanup() {
    local status=$? i pid
    trap - EXIT INT TERM
    # Whatever the command left running inside (services, a program).
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
        if [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$FRESH" ]; then
            kill -9 "$pid" 2>/dev/null || true
        fi
    done
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -R "${mounted[$i]}" 2>/dev/null || umount -R -l "${mounted[$i]}" 2>/dev/null || true
    done
    if ! grep -q " $FRESH" /proc/self/mounts; then
        rm -rf --one-file-system "$BASE"
    else
        echo "fresh-root: $FRESH is still mounted; left in place" >&2
    fi
    exit $status
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

mount_into() { # <what> <where inside the root> [mount options...]
    local what="$1" where="$FRESH$2"
    shift 2
    mkdir -p "$where"
    mount "$@" "$what" "$where"
    mounted+=("$where")
    # Nothing mounted or unmounted in the root reaches the machine's own tree.
    mount --make-rslave "$where"
}

started=$SECONDS
echo "== fresh-root: making a Debian 12 root in $FRESH"
mkdir -p "$FRESH"
mmdebstrap --quiet --variant=minbase "${aptopts[@]}" bookworm "$FRESH" "${sources[@]}"

# A mount point of its own (mount namespaces inside want one), the kernel's file
# systems, and a name for this host's loopback.
mount --bind "$FRESH" "$FRESH"
mounted+=("$FRESH")
mount --make-private "$FRESH"
mount_into /proc /proc --rbind
mount_into /sys /sys --rbind
mount_into /dev /dev --rbind
mount_into tmpfs /dev/shm -t tmpfs -o mode=1777
mount_into tmpfs /tmp -t tmpfs -o mode=1777
printf '127.0.0.1\tlocalhost\n::1\tlocalhost ip6-localhost ip6-loopback\n' >"$FRESH/etc/hosts"
cp /etc/resolv.conf "$FRESH/etc/resolv.conf"
if [ -n "$CCACHE_DIR_HOST" ]; then
    mkdir -p "$CCACHE_DIR_HOST"
    mount_into "$CCACHE_DIR_HOST" /var/cache/ccache --bind
fi

git clone --quiet --no-local --no-hardlinks "$ROOT" "$FRESH/rumbolo"
git -C "$FRESH/rumbolo" checkout --quiet "$(git -C "$ROOT" rev-parse HEAD)"
echo "== fresh-root: root ready after $((SECONDS - started)) s; running: $* (at $(git -C "$ROOT" rev-parse --short HEAD))"

status=0
chroot "$FRESH" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    CCACHE_DIR=/var/cache/ccache \
    /bin/bash -c 'cd /rumbolo && exec "$@"' fresh-root "$@" || status=$?
# What the command left to look at (screenshots, logs), into build-fresh-root/.
rm -rf "$ROOT/build-fresh-root"
for artefacts in "$FRESH"/rumbolo/build*/artefacts; do
    if [ -d "$artefacts" ]; then
        build="$(basename "$(dirname "$artefacts")")"
        mkdir -p "$ROOT/build-fresh-root/$build"
        cp -r "$artefacts" "$ROOT/build-fresh-root/$build/"
    fi
done
echo "== fresh-root: the command ended with status $status after $((SECONDS - started)) s in all"
exit $status
