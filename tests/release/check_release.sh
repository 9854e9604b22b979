#!/usr/bin/env bash
# The executable users download: only Windows' own DLLs, ASLR and DEP, no symbols, no link
# date, no build path; and the same sources build as a 32-bit Windows program.
#   check_release.sh EXE SOURCE_DIR
set -euo pipefail
headers=$(x86_64-w64-mingw32-objdump -p "$1")
imports=$(sed -n 's/^\s*DLL Name: //p' <<< "$headers" | tr 'a-z' 'A-Z' | sort | xargs)
[ "$imports" = "GDI32.DLL KERNEL32.DLL MSVCRT.DLL USER32.DLL" ] || { echo "imports: $imports"; exit 1; }
flags=$((16#$(awk '/^DllCharacteristics/ {print $2}' <<< "$headers")))  # 0x20, 0x40, 0x100
[ $((flags & 0x160)) -eq $((0x160)) ] || { echo "DllCharacteristics $flags"; exit 1; }
[ -z "$(x86_64-w64-mingw32-nm "$1" 2> /dev/null)" ] || { echo "symbols left in"; exit 1; }
grep -q 'Time/Date.*1970' <<< "$headers" || { echo "a link date"; exit 1; }
! grep -q -F -a "$2" "$1" || { echo "the build path is in the program"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake -S "$2" -B "$work" -G Ninja --toolchain "$2/cmake/mingw-w64-i686.cmake" > "$work/log" &&
    cmake --build "$work" --target morvalen >> "$work/log" || { cat "$work/log"; exit 1; }
i686-w64-mingw32-objdump -f "$work/morvalen.exe" | grep -q 'file format pei-i386'
