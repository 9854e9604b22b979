#!/usr/bin/env bash
# The executable users download: only Windows' own DLLs, ASLR and DEP, no symbols, no link
# date, no build path; and the same sources build as a 32-bit Windows program. It runs here,
# not under Wine, with objdump in the C locale and UTC, whatever the machine's own.
#   check_release.sh EXE SOURCE_DIR
set -euo pipefail
export LC_ALL=C TZ=UTC
fail() { echo "FAILED: $*"; exit 1; }

headers=$(x86_64-w64-mingw32-objdump -p "$1")
imports=$(sed -n 's/^\s*DLL Name: //p' <<< "$headers" | tr a-z A-Z | sort | xargs)
want="GDI32.DLL KERNEL32.DLL MSVCRT.DLL USER32.DLL"
[ "$imports" = "$want" ] || fail "imports '$imports', want '$want'"
flags=$(awk '/^DllCharacteristics/ {print $2}' <<< "$headers")  # ASLR 0x20 0x40, DEP 0x100
[ $((16#$flags & 0x160)) -eq $((0x160)) ] || fail "DllCharacteristics 0x$flags lack 0x160"
stamp=$(sed -n 's/^Time\/Date\s*//p' <<< "$headers")
[ "$stamp" = "Thu Jan  1 00:00:00 1970" ] || fail "linked at $stamp, want no stamp (0, 1970)"
symbols=$(x86_64-w64-mingw32-nm "$1" 2> /dev/null | wc -l)
[ "$symbols" -eq 0 ] || fail "$symbols symbols left in"
! grep -q -F -a "$2" "$1" || fail "the build path $2 is in the program"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake -S "$2" -B "$work" -G Ninja --toolchain "$2/cmake/mingw-w64-i686.cmake" > "$work/log" &&
    cmake --build "$work" --target morvalen >> "$work/log" || { cat "$work/log"; fail "the 32-bit build"; }
format=$(i686-w64-mingw32-objdump -f "$work/morvalen.exe" | sed -n 's/.*file format //p')
[ "$format" = pei-i386 ] || fail "the 32-bit build is $format, want pei-i386"
