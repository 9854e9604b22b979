#!/usr/bin/env bash
# The shipped program's own message loop with real input: the tour that `make run` takes (a
# click on Calcular, an item picked from a dropped list, a digit typed into the day field,
# Sair), then what its screenshots show. The texts are the window tests' to check; here
# each input must change what it should.
#   smoke.sh TOUR EXE OUTPUT_DIR
set -uo pipefail
out=$3
"$1" "$2" "$3" || { echo "FAILED: the tour, or the program's exit status"; exit 1; }
row() {  # a result row of a screenshot, by its centre line
    /usr/bin/convert "$out/$1.png" -crop "245x15+102+$(($2 - 7))" +repage rgb:- | md5sum
}
failed=0
check() {  # shot, operator, other shot, row, what it means
    if [ "$(row "$1" "$4")" "$2" "$(row "$3" "$4")" ]; then echo "ok: $5"; else echo "FAILED: $5"; failed=1; fi
}
check opened != calculated 245 "a click on Calcular fills the per-day row"
check calculated != chosen 265 "an item picked from the dropped list changes the amount per hour"
check chosen != typed 285 "a typed digit changes the total"
check chosen = typed 265 "and not the amount per hour"
exit "$failed"
