#!/usr/bin/env bash
# `make test` and `make run` on Debian 13 (trixie), from any Debian machine, as CI runs them: a
# fresh root made with debootstrap from the Debian mirror this machine uses, a copy of the
# project's files in it (tools/sources.sh's, no .git), the set-up there as root (the packages),
# then both commands as a user of that root on a hardened machine: umask 077, and TMPDIR a folder
# of the user's own on a /tmp mounted noexec. Where this kernel runs 32-bit programs, the root's
# 32-bit suite must have run. Needs root and debootstrap; about 4 minutes. After a failure the
# root stays in build/debian13 for its pictures and logs; the reports are in build/debian13.log.
# It runs in namespaces of its own (unshare): mount, for debootstrap's mounts and the root's /sys,
# /dev/shm and /tmp, which go with its last process, so that nothing stays mounted, passed or
# failed; PID, whose first process ends all others as it ends, so that nothing stays running (as
# does each stage's, with its own /proc); and for the tests network, so that the root's Xvfb
# meets none of this machine's. unshare holds back INT and TERM while it waits: a signal here
# kills it, and --kill-child all the rest.
#   tools/debian13.sh
set -euo pipefail
if [ -z "${MORVALEN_IN_NAMESPACES:-}" ]; then
    trap 'kill -KILL $! 2> /dev/null; exit 130' INT TERM HUP
    MORVALEN_IN_NAMESPACES=1 unshare --mount --propagation private --pid --kill-child bash "$0" &
    wait $!
    exit
fi
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=$top/build/debian13 log=$top/build/debian13.log
copy=$root/home/developer/morvalen  # the user's checkout
"$top/tools/runs-32bit-x86.sh" && runs32=yes || runs32=no

mirror() { apt-get indextargets --format '$(REPO_URI)' 'Origin: Debian' 'Label: Debian' \
    'Identifier: Packages' | sed -n 1p; }  # of this machine's Debian packages, as apt knows it
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
mount -t sysfs sysfs "$root/sys"; mount -t tmpfs tmpfs "$root/dev/shm"
mount -t tmpfs -o noexec,nosuid,nodev tmpfs "$root/tmp"
chroot "$root" useradd --create-home developer
mkdir "$copy"
(cd "$top" && tools/sources.sh | tar -c -T -) | tar -x -C "$copy"
chroot "$root" sh -c 'chown -R developer: /home/developer && chmod -R go= /home/developer'
echo "debian13.sh: the packages"
"${in_root[@]}" 'apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q make &&
    cd /home/developer/morvalen && make setup' >> "$log" 2>&1 || { tail -n 20 "$log"; exit 1; }
echo "debian13.sh: make test, as a user"
unshare --net "${in_root[@]}" 'cd /home/developer/morvalen &&
    exec runuser -u developer -- sh -c "umask 077 && mkdir /tmp/developer &&
    export TMPDIR=/tmp/developer && make test && make run"'
[ "$runs32" = no ] || [ -e "$copy/build/windows32/tests/opened-shown.ppm" ] ||
    { echo "debian13.sh: the 32-bit suite did not run, on a kernel that runs it" >&2; exit 1; }
umount "$root"/{tmp,dev/shm,sys}
rm -rf --one-file-system "$root"
