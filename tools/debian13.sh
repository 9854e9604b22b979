#!/usr/bin/env bash
# `make test` on Debian 13 (trixie), from any Debian machine, as CI runs it: a fresh root made
# with debootstrap from the Debian mirror this machine uses, a fresh clone of this checkout's
# HEAD in it, the set-up there as root (the packages), then `make test` as a user of that root.
# Needs root and debootstrap; takes about 5 minutes, the root's packages fetched anew each time.
# The root stays in build/debian13 after a failure, for its pictures and logs, and goes after a
# pass; apt-get's and debootstrap's reports are in build/debian13.log.
#
# Everything runs in namespaces of its own (unshare): a mount namespace for debootstrap's mounts
# and the root's /proc, /sys, /dev/shm and /tmp, which the kernel takes away with its last
# process, so that nothing stays mounted whether it passes or fails; a PID namespace whose
# first process ends all the others as it ends, so that nothing stays running; and for the
# tests a network namespace, so that the root's Xvfb displays do not meet this machine's
# (their sockets are the network namespace's).
#   tools/debian13.sh
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=$top/build/debian13 log=$top/build/debian13.log

# The mirror of this machine's Debian packages, as apt knows it.
mirror() {
    apt-get indextargets --format '$(REPO_URI)' 'Origin: Debian' 'Label: Debian' \
        'Identifier: Packages' | sed -n 1p
}
[ -n "$(mirror)" ] || apt-get update -q
mirror=$(mirror)
[ -n "$mirror" ] || { echo "debian13.sh: no Debian mirror known to apt here" >&2; exit 1; }

# isolated [--net] COMMAND...: COMMAND in namespaces of its own. A signal to this script ends
# them all at once (unshare --kill-child), whether or not it reaches unshare.
isolated() {
    local net=() pid status=0
    [ "$1" != --net ] || { net=(--net); shift; }
    unshare --mount --propagation private --pid --fork --kill-child "${net[@]}" "$@" &
    pid=$!
    trap 'kill -KILL "$pid" 2> /dev/null; exit 130' INT TERM HUP
    wait "$pid" || status=$?
    trap - INT TERM HUP
    return "$status"
}
# in_root [--net] COMMAND: COMMAND in the root, in namespaces of its own, with a clean
# environment. The root's /dev is debootstrap's own, with a /dev/shm of its own.
in_root() {
    isolated "${@:1:$#-1}" sh -c 'mount -t proc proc "$0/proc" && mount -t sysfs sysfs "$0/sys" &&
        mount -t tmpfs tmpfs "$0/dev/shm" && mount -t tmpfs tmpfs "$0/tmp" &&
        exec env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root chroot "$0" sh -c "$1"' \
        "$root" "${@: -1}"
}

rm -rf --one-file-system "$root"  # an earlier failure's root: nothing is mounted in it here
mkdir -p "$root"
echo "debian13.sh: debootstrap trixie from $mirror"
isolated debootstrap --variant=minbase trixie "$root" "$mirror" > "$log" 2>&1 ||
    { tail -n 20 "$log"; exit 1; }
cp /etc/resolv.conf "$root/etc/resolv.conf"
chroot "$root" useradd --create-home developer
git clone --quiet "$top" "$root/home/developer/morvalen"
chroot "$root" chown -R developer: /home/developer/morvalen
echo "debian13.sh: the packages"
in_root 'apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q make &&
    cd /home/developer/morvalen && make setup' >> "$log" 2>&1 || { tail -n 20 "$log"; exit 1; }
echo "debian13.sh: make test, as a user"
in_root --net 'cd /home/developer/morvalen && exec runuser -u developer -- make test'
rm -rf --one-file-system "$root"
