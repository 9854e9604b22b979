#!/usr/bin/env bash
# Static analysis of our own code: clang-tidy (the checks in .clang-tidy) over core/ with
# the native build's compile commands and over shell/ with the Windows build's, seen
# through MinGW-w64's headers; then cppcheck over both; then the layout of every C++ file
# against .clang-format. Prints each step's name, then the faults found, if any.
set -euo pipefail; shopt -s inherit_errexit  # a failure inside $(...) fails too
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
for build in native windows; do
    [ -f "build/$build/compile_commands.json" ] || cmake --preset "$build" > /dev/null
done

# The verdict holds until something it rests on changes: the files it reads (tracked or not),
# its settings, the builds' compile commands, the compilers' and the tools' versions.
inputs=$({ find core shell resources tests -name '*.cpp' -o -name '*.h' | LC_ALL=C sort | xargs \
    sha256sum $(find . -path ./build -prune -o -name '.clang-*' -print) tools/{lint,sources}.sh \
    build/{native,windows}/compile_commands.json; for tool in clang-tidy cppcheck clang-format \
    g++ x86_64-w64-mingw32-g++-posix; do "$tool" --version; done; } | sha256sum)
[ "$(cat build/lint.passed 2> /dev/null)" != "$inputs" ] ||
    { echo "lint: clean (nothing it reads has changed since it last passed)"; exit 0; }

# MinGW-w64's C++ and C headers, but not GCC's intrinsics: clang has its own.
gcc=/usr/lib/gcc/x86_64-w64-mingw32/$(x86_64-w64-mingw32-g++-posix -dumpversion)/include/c++
mingw=(--extra-arg=--target=x86_64-w64-mingw32)
for dir in "$gcc" "$gcc/x86_64-w64-mingw32" "$gcc/backward" /usr/x86_64-w64-mingw32/include; do
    mingw+=("--extra-arg=-isystem$dir")
done

tidy() {
    local report status=0
    report=$(clang-tidy --quiet "$@" 2>&1) || status=$?
    # Only the faults: clang-tidy 19 also counts the files it reads, 14 the warnings it hides.
    grep -v -E 'warnings generated|^\[[0-9]+/[0-9]+\] Processing file ' <<< "$report" || true
    return "$status"
}
# clang-tidy passes over a check's name it does not know without a word; a list that came out
# empty would leave nothing to compare.
named=$(sed -n 's/^  \([a-z][^,]*\),*$/\1/p' .clang-tidy | sort)
[ -n "$named" ] || { echo "lint: no check's name found in .clang-tidy"; exit 1; }
unknown=$(comm -13 <(clang-tidy --list-checks | sed -n 's/^    //p' | sort) <(echo "$named"))
[ -z "$unknown" ] || { echo "lint: no such check in this clang-tidy:" $unknown; exit 1; }
echo "clang-tidy: core/"
tidy -p build/native core/*.cpp
echo "clang-tidy: shell/"
tidy -p build/windows "${mingw[@]}" shell/*.cpp

echo "cppcheck: core/ shell/"
cppcheck --quiet --error-exitcode=1 --std=c++20 --language=c++ --inline-suppr \
    --enable=warning,style,performance,portability --suppress=missingIncludeSystem \
    --platform=win64 -D_WIN32 -D__USE_MINGW_ANSI_STDIO=1 -DCALLBACK= -DWINAPI= -I . core shell
echo "clang-format: every C++ file"
tools/sources.sh | grep -E '\.(cpp|h)$' | xargs clang-format --dry-run --Werror
echo "$inputs" > build/lint.passed
echo "lint: clean"
