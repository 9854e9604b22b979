#!/usr/bin/env bash
# The shipped program's own message loop with real input: the tour that `make run` takes (a
# click on Calcular, an item picked from a dropped list, a digit typed into the day field,
# Sair, which must end the program with status 0), then what its screenshots show. The
# texts are the window tests' to check; here each input must change its result row.
#   smoke.sh TOUR EXE OUTPUT_DIR
set -uo pipefail
"$1" "$2" "$3" || { echo "FAILED: the tour, or the program's exit status"; exit 1; }
row() {  # a result row of a screenshot, by its centre line
    /usr/bin/convert "$3/$1.png" -crop "245x15+102+$(($2 - 7))" +repage rgb:- | md5sum
}
[ "$(row calculated 265 "$3")" != "$(row chosen 265 "$3")" ] ||
    { echo "FAILED: an item picked from the dropped list changes nothing"; exit 1; }
[ "$(row chosen 285 "$3")" != "$(row typed 285 "$3")" ] ||
    { echo "FAILED: a digit typed into the day field changes nothing"; exit 1; }
