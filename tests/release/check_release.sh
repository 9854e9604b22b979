#!/usr/bin/env bash
# The executable users download: only Windows' own DLLs, ASLR and DEP, no symbols, no link
# date, no build path; and the same sources build as a 32-bit Windows program. It runs on
# this machine, not under Wine. Header fields are read as numbers and objdump speaks in the
# C locale: nothing here follows the machine's language or time zone.
#   check_release.sh EXE SOURCE_DIR
set -euo pipefail
export LC_ALL=C
fail() { echo "FAILED: $*"; exit 1; }
# A little-endian field of the PE header as a number: FILE, its offset from the "PE\0\0"
# signature (which byte 60 of the file locates), its size in bytes.
pe_field() {
    local signature
    signature=$(od -An -tu4 -j 60 -N 4 "$1")
    od -An -tu"$3" -j $((signature + $2)) -N "$3" "$1" | tr -d ' '
}

imports=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p' | tr a-z A-Z | sort | xargs)
want="GDI32.DLL KERNEL32.DLL MSVCRT.DLL USER32.DLL"
[ "$imports" = "$want" ] || fail "imports '$imports', want '$want'"
flags=$(pe_field "$1" 94 2)  # DllCharacteristics: high-entropy ASLR 0x20, ASLR 0x40, DEP 0x100
[ $((flags & 0x160)) -eq $((0x160)) ] || fail "DllCharacteristics $(printf 0x%X "$flags") lack 0x160"
stamp=$(pe_field "$1" 8 4)
[ "$stamp" -eq 0 ] || fail "a link time stamp: $stamp seconds after 1970, want 0"
symbols=$(x86_64-w64-mingw32-nm "$1" 2> /dev/null | wc -l)
[ "$symbols" -eq 0 ] || fail "$symbols symbols left in"
! grep -q -F -a "$2" "$1" || fail "the build path $2 is in the program"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake -S "$2" -B "$work" -G Ninja --toolchain "$2/cmake/mingw-w64-i686.cmake" > "$work/log" &&
    cmake --build "$work" --target morvalen >> "$work/log" || { cat "$work/log"; fail "the 32-bit build"; }
machine=$(pe_field "$work/morvalen.exe" 4 2)
[ "$machine" -eq $((0x14C)) ] || fail "the 32-bit build is for machine $(printf 0x%X "$machine"), want 0x14C"
