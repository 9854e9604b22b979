#!/usr/bin/env bash
# An executable users download, 64-bit (pei-x86-64) or 32-bit (pei-i386): that format, only
# Windows' own DLLs, ASLR (and on 64 bits its high-entropy kind) and DEP, no symbols, no link
# date, no build path. It runs here, not under Wine, with objdump in the C locale and UTC.
#   check_release.sh EXE SOURCE_DIR FORMAT
set -euo pipefail
export LC_ALL=C TZ=UTC
fail() { echo "FAILED: $1: $2"; exit 1; }

headers=$(x86_64-w64-mingw32-objdump -p "$1")
format=$(sed -n 's/.*file format //p' <<< "$headers")
[ "$format" = "$3" ] || fail "$1" "file format $format, want $3"
imports=$(sed -n 's/^\s*DLL Name: //p' <<< "$headers" | tr a-z A-Z | sort | xargs)
want="GDI32.DLL KERNEL32.DLL MSVCRT.DLL USER32.DLL"
[ "$imports" = "$want" ] || fail "$1" "imports '$imports', want '$want'"
flags=$(awk '/^DllCharacteristics/ {print $2}' <<< "$headers")
wanted=0x140  # DEP 0x100, ASLR 0x40; on 64 bits high-entropy ASLR 0x20 as well
[ "$format" = pei-i386 ] || wanted=0x160
[ $((16#$flags & wanted)) -eq $((wanted)) ] || fail "$1" "DllCharacteristics 0x$flags lack $wanted"
stamp=$(sed -n 's/^Time\/Date\s*//p' <<< "$headers")
[ "$stamp" = "Thu Jan  1 00:00:00 1970" ] || fail "$1" "linked at $stamp, want no stamp (0, 1970)"
symbols=$(x86_64-w64-mingw32-nm "$1" 2> /dev/null | wc -l)
[ "$symbols" -eq 0 ] || fail "$1" "$symbols symbols left in"
! grep -q -F -a "$2" "$1" || fail "$1" "the build path $2 is in it"
