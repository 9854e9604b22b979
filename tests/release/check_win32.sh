#!/usr/bin/env bash
# The same sources compile and link as a 32-bit Windows program (where WNDCLASSEXA is
# 48 bytes, as the window code asserts). This machine cannot run it, so it only builds.
set -euo pipefail
src=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/morvalen-win32.XXXXXX")
trap 'rm -rf "$work"' EXIT
cmake -S "$src" -B "$work" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    --toolchain "$src/cmake/mingw-w64-i686.cmake" > "$work.log" 2>&1 &&
    cmake --build "$work" --target morvalen >> "$work.log" 2>&1 || { cat "$work.log"; exit 1; }
rm -f "$work.log"
i686-w64-mingw32-objdump -f "$work/morvalen.exe" | grep -q 'file format pei-i386'
echo "32-bit build: $(stat -c %s "$work/morvalen.exe") bytes, pei-i386"
