#!/usr/bin/env bash
# Exits 0 where the kernel runs 32-bit x86 programs (some virtual machines' kernels don't),
# and so where Wine's 32-bit half, which the set-up then installs, runs the 32-bit Windows
# programs. The set-up, the 32-bit toolchain and the Wine session all ask here. The test is
# the smallest such program, which only exits with status 0.
set -euo pipefail
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
# ELF header, one loadable segment at 0x08048000, then: xor ebx,ebx; mov eax,1; int 0x80
printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08'` \
    `'\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\x28\0\0\0\0\0\x01\0\0\0\0\0\0\0'` \
    `'\0\x80\x04\x08\0\x80\x04\x08\x5d\0\0\0\x5d\0\0\0\x05\0\0\0\0\x10\0\0'` \
    `'\x31\xdb\xb8\x01\0\0\0\xcd\x80' > "$probe"
chmod +x "$probe"
"$probe" 2> /dev/null
