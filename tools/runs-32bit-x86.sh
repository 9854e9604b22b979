#!/usr/bin/env bash
# Exits 0 where the kernel runs 32-bit x86 programs (some virtual machines' kernels don't), 1
# where not, 2 (saying why) where the probe cannot run: the smallest such program, run in build/,
# where the build runs its programs anyway (a TMPDIR may be mounted noexec), once true has run.
set -euo pipefail
trap 'echo "runs-32bit-x86: the probe could not be run (line $LINENO)" >&2; exit 2' ERR
build=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build
[ -d "$build" ] || made=$build  # then gone again: the set-up runs as root, the build as a user
mkdir -p "$build"
probe=$(mktemp -d "$build/probe.XXXXXX")
trap 'rm -rf "$probe"; [ -z "${made:-}" ] || rmdir "$made" 2> /dev/null || true' EXIT
cp /bin/true "$probe/true"
"$probe/true" || { echo "runs-32bit-x86: $build runs no programs" >&2; exit 2; }
# ELF header, one loadable segment at 0x08048000, then: xor ebx,ebx; mov eax,1; int 0x80
printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08'` \
    `'\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\x28\0\0\0\0\0\x01\0\0\0\0\0\0\0'` \
    `'\0\x80\x04\x08\0\x80\x04\x08\x5d\0\0\0\x5d\0\0\0\x05\0\0\0\0\x10\0\0'` \
    `'\x31\xdb\xb8\x01\0\0\0\xcd\x80' > "$probe/x86"
chmod +x "$probe/x86"
"$probe/x86" 2> /dev/null || exit 1
