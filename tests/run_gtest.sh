#!/usr/bin/env bash
# Runs one GoogleTest case (through the emulator, if any) and passes it only if it printed
# its own "[  PASSED  ] 1 test." line AND ended with status 0: the line alone misses a leak
# report or a crash after it, the status alone a program that ends early with 0.
#   run_gtest.sh [EMULATOR ...] PROGRAM --gtest_filter=CASE ...    (listing passes through)
set -uo pipefail
[[ " $* " != *" --gtest_list_tests "* ]] || exec "$@"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# Into a file: a pipe would stay open as long as the Wine desktop the program may start.
"$@" > "$log" 2>&1
status=$?
cat "$log"
[ "$status" -eq 0 ] || { echo "FAILED: the test program ended with status $status"; exit 1; }
grep -q -F '[  PASSED  ] 1 test.' "$log" ||
    { echo "FAILED: the test program ended with status 0 before its '[  PASSED  ] 1 test.' line"; exit 1; }
echo "run_gtest: passed with status 0"
