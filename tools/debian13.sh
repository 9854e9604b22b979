#!/usr/bin/env bash
# `make test` on Debian 13 (trixie), from any Debian machine, as CI runs it: a fresh root made
# with debootstrap from the Debian mirror this machine uses, a copy of the project's files in it
# (tools/sources.sh: in a clone, git's tracked files as the working tree has them; no .git), the
# set-up there as root (the packages), then `make test` as a user of that root on a hardened
# machine: umask 077, and TMPDIR a folder of the user's own on a /tmp mounted noexec.
# Needs root and debootstrap; takes about 5 minutes, the root's packages fetched anew each time.
# The root stays in build/debian13 after a failure, for its pictures and logs, and goes after a
# pass; apt-get's and debootstrap's reports are in build/debian13.log.
#
# It runs in namespaces of its own (unshare): a mount namespace for debootstrap's mounts and the
# root's /proc, /sys, /dev/shm and /tmp, which the kernel takes away with its last process, so
# that nothing stays mounted whether it passes or fails; a PID namespace whose first process
# ends all the others as it ends, so that nothing stays running; and for the tests a network
# namespace, so that the root's Xvfb displays do not meet this machine's. unshare holds back INT
# and TERM while it waits, so a signal here kills it, and --kill-child takes all the rest.
#   tools/debian13.sh
set -euo pipefail
if [ -z "${MORVALEN_IN_NAMESPACES:-}" ]; then
    MORVALEN_IN_NAMESPACES=1 unshare --mount --propagation private --pid --kill-child "$0" &
    trap 'kill -KILL $! 2> /dev/null; exit 130' INT TERM HUP
    wait $!
    exit
fi
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

# A command in the root, with a clean environment, in a PID namespace (and /proc) of its own:
# all it started ends with it.
in_root=(unshare --pid --fork --kill-child --mount-proc="$root/proc"
    env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root chroot "$root" sh -c)

rm -rf --one-file-system "$root"  # an earlier failure's root: nothing is mounted in it here
mkdir -p "$root"
echo "debian13.sh: debootstrap trixie from $mirror"
debootstrap --variant=minbase trixie "$root" "$mirror" > "$log" 2>&1 ||
    { tail -n 20 "$log"; exit 1; }
cp /etc/resolv.conf "$root/etc/resolv.conf"
# The root's /dev is debootstrap's own, with a /dev/shm of its own.
mount -t sysfs sysfs "$root/sys" && mount -t tmpfs tmpfs "$root/dev/shm"
mount -t tmpfs -o noexec,nosuid,nodev tmpfs "$root/tmp"
chroot "$root" useradd --create-home developer
mkdir "$root/home/developer/morvalen"
(cd "$top" && tools/sources.sh | tar -c -T -) | tar -x -C "$root/home/developer/morvalen"
chroot "$root" sh -c 'chown -R developer: /home/developer && chmod -R go= /home/developer'
echo "debian13.sh: the packages"
"${in_root[@]}" 'apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q make &&
    cd /home/developer/morvalen && make setup' >> "$log" 2>&1 || { tail -n 20 "$log"; exit 1; }
echo "debian13.sh: make test, as a user"
unshare --net "${in_root[@]}" 'cd /home/developer/morvalen &&
    exec runuser -u developer -- sh -c "umask 077 && mkdir /tmp/developer &&
    TMPDIR=/tmp/developer exec make test"'
umount "$root"/{tmp,dev/shm,sys}
rm -rf --one-file-system "$root"
