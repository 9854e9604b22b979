#!/usr/bin/env bash
# Installs the tools that build and test the program, when any is missing (Debian 12 or 13:
# apt-get, as root). Quick when everything is there already.
set -euo pipefail

packages=(
    make cmake ninja-build g++ libgtest-dev googletest   # the native build and its tests
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix  # the 64-bit and 32-bit Windows builds
    wine wine64                                           # runs the Windows programs
    xvfb xdotool imagemagick x11-apps                     # display, input, screenshots
    icoutils                                              # the icon in the release check
    tzdata                                                # Sao Paulo time, under Wine
    clang-tidy clang-format cppcheck                      # static analysis and layout
)

# Wine's 32-bit half, for the 32-bit Windows programs, where the kernel runs it.
runs=0
"$(dirname "${BASH_SOURCE[0]}")/runs-32bit-x86.sh" || runs=$?
[ "$runs" -le 1 ] || exit 1  # the probe could not be run, and said why
[ "$runs" -ne 0 ] || packages+=(wine32:i386)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    command -v apt-get > /dev/null && [ "$(id -u)" -eq 0 ] ||
        { echo "setup: needs root and apt-get: apt-get install ${missing[*]}" >&2; exit 1; }
    [[ " ${missing[*]} " != *:i386* ]] || dpkg --print-foreign-architectures | grep -qx i386 ||
        dpkg --add-architecture i386
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q "${missing[@]}"
fi

version=$(cmake --version | sed -n 's/^cmake version //p')
[ "$(printf '3.25\n%s\n' "$version" | sort -V | head -n 1)" = 3.25 ] ||
    { echo "setup: CMake 3.25 or newer is needed (Debian 12 or later), not $version" >&2; exit 1; }
