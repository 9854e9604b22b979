#!/usr/bin/env bash
# Installs the tools that build and test the program, when any is missing (Debian 12 or
# Ubuntu 24.04 and later: apt-get, as root). Quick when everything is there already.
set -euo pipefail

packages=(
    make cmake ninja-build g++ libgtest-dev googletest   # the native build and its tests
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix  # the 64-bit and 32-bit Windows builds
    wine wine64                                           # runs the Windows programs
    xvfb xdotool imagemagick x11-apps                     # display, input, screenshots
    tzdata                                                # Sao Paulo time, under Wine
    clang-tidy clang-format cppcheck                      # static analysis and layout
)

# Whether the kernel runs 32-bit x86 programs (some virtual machines' kernels don't): the
# smallest such program, which only exits with status 0, is tried. Where it runs, Wine's
# 32-bit half runs the 32-bit Windows programs.
runs_32bit_x86() {
    local probe status=0
    probe=$(mktemp)
    # ELF header, one loadable segment at 0x08048000, then: xor ebx,ebx; mov eax,1; int 0x80
    printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08'` \
        `'\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\x28\0\0\0\0\0\x01\0\0\0\0\0\0\0'` \
        `'\0\x80\x04\x08\0\x80\x04\x08\x5d\0\0\0\x5d\0\0\0\x05\0\0\0\0\x10\0\0'` \
        `'\x31\xdb\xb8\x01\0\0\0\xcd\x80' > "$probe"
    chmod +x "$probe"
    "$probe" 2> /dev/null || status=1
    rm -f "$probe"
    return $status
}
if runs_32bit_x86; then
    packages+=(wine32:i386)
fi

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    if ! command -v apt-get > /dev/null; then
        echo "setup: no apt-get here. Install these packages by hand: ${missing[*]}" >&2
        exit 1
    fi
    if [ "$(id -u)" -ne 0 ]; then
        echo "setup: installing packages needs root. Run as root: apt-get install ${missing[*]}" >&2
        exit 1
    fi
    if [[ " ${missing[*]} " == *:i386* ]] &&
        ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q "${missing[@]}"
fi

version=$(cmake --version | sed -n 's/^cmake version //p')
if [ "$(printf '3.25\n%s\n' "$version" | sort -V | head -n 1)" != 3.25 ]; then
    echo "setup: CMake 3.25 or newer is needed (Debian 12, Ubuntu 24.04 or later);" \
        "this system has $version" >&2
    exit 1
fi
