#!/usr/bin/env bash
# The shipped program's own loop with real input: `make run`'s tour (Calcular, a pick in the
# dropped list, typed keys, Sair) ends with status 0, and what was picked and typed reached the
# program: 16 cameras for 60 days need in all what 32 cameras for 30 days do, not each hour.
#   smoke.sh TOOLS_DIR EXE OUTPUT_DIR
set -uo pipefail
fail() { echo "FAILED: $1"; exit 1; }
"$1/wine-session.sh" with "$1/tour.sh" "$2" "$3" || fail "the tour, or the program's exit status"
row() { /usr/bin/convert "$3/$1.png" -crop "245x15+102+$2" +repage rgb:- | md5sum; }  # at y
total=$(row calculated 278 "$3") && hour=$(row calculated 258 "$3") &&
    total60=$(row typed 278 "$3") && hour16=$(row typed 258 "$3") || fail "a screenshot unread"
[ "$total60" = "$total" ] || fail "typed.png's total row is not calculated.png's (in $3)"
[ "$hour16" != "$hour" ] || fail "typed.png's hourly row is calculated.png's: 32 cameras still"
