#!/usr/bin/env bash
# Installs the tools that build and test the program, when any is missing (Debian or
# Ubuntu, apt-get, as root). Quick when everything is there already.
set -euo pipefail

packages=(
    make cmake ninja-build g++ libgtest-dev googletest   # the native build and its tests
    g++-mingw-w64-x86-64-posix                            # the Windows x86-64 build
    g++-mingw-w64-i686-posix                              # the 32-bit compile check
    wine wine64                                           # runs the Windows programs
    xvfb xdotool imagemagick x11-apps                     # display, input, screenshots
    clang-tidy clang-format cppcheck                      # static analysis and layout
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
if ! command -v apt-get > /dev/null; then
    echo "setup: no apt-get here. Install these packages by hand: ${missing[*]}" >&2
    exit 1
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "setup: installing packages needs root. Run as root: apt-get install ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q "${missing[@]}"
