#!/usr/bin/env bash
# Runs one GoogleTest case (through the emulator, if any): it passes on its own passed line AND
# status 0. The line alone misses a leak report or crash after it, the status an early end with 0.
#   run_gtest.sh [EMULATOR ...] PROGRAM --gtest_filter=CASE ...    (listing passes through)
set -uo pipefail
[[ " $* " != *" --gtest_list_tests "* ]] || exec "$@"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# Into a file: a pipe would stay open as long as the Wine desktop the program may start.
"$@" > "$log" 2>&1; status=$?
cat "$log"
[ "$status" -eq 0 ] || { echo "FAILED: the test program ended with status $status"; exit 1; }
grep -q -F '[  PASSED  ] 1 test.' "$log" || { echo "FAILED: ended early, with status 0"; exit 1; }
echo "run_gtest: passed with status 0"
