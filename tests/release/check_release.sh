#!/usr/bin/env bash
# The executable users download: what it imports, how it is protected, its size, that it
# carries no build path or date, and that building it again gives the same bytes.
#
#   check_release.sh EXE SOURCE_DIR   checks EXE, then rebuilds it twice elsewhere
set -euo pipefail
exe=$1
src=$2
objdump=x86_64-w64-mingw32-objdump
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

headers=$($objdump -p "$exe")

# Only Windows' own DLLs: no MinGW runtime beside the program.
imports=$(sed -n 's/^\s*DLL Name: //p' <<< "$headers" | tr 'a-z' 'A-Z' | sort | tr '\n' ' ')
[ "$imports" = "GDI32.DLL KERNEL32.DLL MSVCRT.DLL USER32.DLL " ] || fail "imports: $imports"

# ASLR (0x40), DEP (0x100) and high-entropy addresses (0x20).
characteristics=$((16#$(awk '/^DllCharacteristics/ {print $2}' <<< "$headers")))
for flag in 0x20 0x40 0x100; do
    (( characteristics & flag )) || fail "DllCharacteristics $characteristics lacks $flag"
done

# Stripped, no time stamp, no build path.
$objdump -h "$exe" | grep -q '\.debug' && fail "debug sections left in"
[ -z "$(x86_64-w64-mingw32-nm "$exe" 2> /dev/null)" ] || fail "symbols left in"
grep -q 'Time/Date.*1970' <<< "$headers" || fail "link time stamp: $(grep Time/Date <<< "$headers")"
grep -q -F -a "$src" "$exe" && fail "the source path $src is in the binary"

# Size: the artwork plus at most 64 KB of everything else.
size=$(stat -c %s "$exe")
art=$(( $(stat -c %s "$src/resources/background.bmp") + $(stat -c %s "$src/resources/app.ico") ))
limit=$((art + 65536))
echo "release size: $size bytes (artwork $art, the rest $((size - art)), limit $limit)"
[ "$size" -le "$limit" ] || fail "size $size above $limit"

# Built twice more, in other directories, from the same sources: the same SHA-256.
work=$(mktemp -d "${TMPDIR:-/tmp}/morvalen-repro.XXXXXX")
trap 'rm -rf "$work"' EXIT
sums=("$(sha256sum < "$exe")")
for tree in one two; do
    cmake -S "$src" -B "$work/$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        --toolchain "$src/cmake/mingw-w64-x86_64.cmake" > "$work/$tree.log" 2>&1 &&
        cmake --build "$work/$tree" --target morvalen >> "$work/$tree.log" 2>&1 ||
        { cat "$work/$tree.log"; fail "rebuild in $tree"; continue; }
    sums+=("$(sha256sum < "$work/$tree/morvalen.exe")")
done
different=0
for sum in "${sums[@]}"; do
    [ "$sum" = "${sums[0]}" ] || { fail "a rebuild differs: ${sum%% *}"; different=1; }
done
[ "$different" -eq 1 ] ||
    echo "release SHA-256: ${sums[0]%% *} (the same in ${#sums[@]} builds)"

if [ "$failures" -ne 0 ]; then
    echo "$failures release check(s) failed"
    exit 1
fi
echo "release checks passed"
